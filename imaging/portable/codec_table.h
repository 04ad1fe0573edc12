// The five built-in encoders, in GDI+'s order and with its identifiers and names.
#pragma once

#include <array>

#include "imaging/portable/gdiplus_flat.h"

namespace korvanth::imaging {

enum class EncoderKind { Bmp, Jpeg, Gif, Tiff, Png };

struct CodecEntry {
  EncoderKind kind;
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

inline constexpr std::array<CodecEntry, 5> kCodecs{{
    {EncoderKind::Bmp, EncoderClsid(0x557CF400), FormatGuid(0xB96B3CAB), u"Built-in BMP Codec",
     u"BMP", u"*.BMP;*.DIB;*.RLE", u"image/bmp"},
    {EncoderKind::Jpeg, EncoderClsid(0x557CF401), FormatGuid(0xB96B3CAE), u"Built-in JPEG Codec",
     u"JPEG", u"*.JPG;*.JPEG;*.JPE;*.JFIF", u"image/jpeg"},
    {EncoderKind::Gif, EncoderClsid(0x557CF402), FormatGuid(0xB96B3CB0), u"Built-in GIF Codec",
     u"GIF", u"*.GIF", u"image/gif"},
    {EncoderKind::Tiff, EncoderClsid(0x557CF405), FormatGuid(0xB96B3CB1), u"Built-in TIFF Codec",
     u"TIFF", u"*.TIF;*.TIFF", u"image/tiff"},
    {EncoderKind::Png, EncoderClsid(0x557CF406), FormatGuid(0xB96B3CAF), u"Built-in PNG Codec",
     u"PNG", u"*.PNG", u"image/png"},
}};

}  // namespace korvanth::imaging
