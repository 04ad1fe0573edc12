// The five built-in encoders, in GDI+'s order and with its identifiers and names. Which
// file type each one writes is the file-type table's business (by MIME type); here is only
// the code behind the ones this host encodes itself.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/encode/writers.h"
#include "imaging/linux/encoders.h"
#include "imaging/linux/gdiplus_flat.h"

namespace korvanth::imaging {

// Encodes whole rows; `quality` (0-100) matters to lossy encoders only.
using LinuxEncoder = bool (*)(const imaging::encode::PixelRows&, int quality,
                              std::vector<std::uint8_t>&);

struct CodecEntry {
  LinuxEncoder encode;  // null where the file type's own writer writes it
  CLSID clsid;
  GUID formatId;
  const char16_t* codecName;
  const char16_t* formatDescription;
  const char16_t* filenameExtension;
  const char16_t* mimeType;
};

constexpr GUID EncoderClsid(std::uint32_t data1) {
  return GUID{data1, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
}

constexpr GUID FormatGuid(std::uint32_t data1) {
  return GUID{data1, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
}

inline constexpr LinuxEncoder kPngEncoder = [](const imaging::encode::PixelRows& rows, int,
                                               std::vector<std::uint8_t>& out) {
  return imaging::encode::WritePng(rows, out);
};

inline constexpr std::array<CodecEntry, 5> kCodecs{{
    {nullptr, EncoderClsid(0x557CF400), FormatGuid(0xB96B3CAB), u"Built-in BMP Codec", u"BMP",
     u"*.BMP;*.DIB;*.RLE", u"image/bmp"},
    {WriteJpeg, EncoderClsid(0x557CF401), FormatGuid(0xB96B3CAE), u"Built-in JPEG Codec", u"JPEG",
     u"*.JPG;*.JPEG;*.JPE;*.JFIF", u"image/jpeg"},
    {nullptr, EncoderClsid(0x557CF402), FormatGuid(0xB96B3CB0), u"Built-in GIF Codec", u"GIF",
     u"*.GIF", u"image/gif"},
    {nullptr, EncoderClsid(0x557CF405), FormatGuid(0xB96B3CB1), u"Built-in TIFF Codec", u"TIFF",
     u"*.TIF;*.TIFF", u"image/tiff"},
    {kPngEncoder, EncoderClsid(0x557CF406), FormatGuid(0xB96B3CAF), u"Built-in PNG Codec", u"PNG",
     u"*.PNG", u"image/png"},
}};

}  // namespace korvanth::imaging
