// The encoder list as GDI+ hands it out: the records first, then the strings they
// point at, all inside the caller's buffer.
#include <cstring>

#include "imaging/linux/codec_table.h"

namespace Gdiplus::DllExports {

namespace {

// GDI+'s flags for a built-in codec that encodes and decodes bitmaps.
constexpr DWORD kBuiltinCodecFlags = 0x0001 | 0x0002 | 0x0004 | 0x00010000;

std::size_t Units(const char16_t* text) {
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return n + 1;
}

std::size_t StringBytes(const korvanth::imaging::CodecEntry& codec) {
  return (Units(codec.codecName) + Units(codec.formatDescription) + Units(codec.filenameExtension) +
          Units(codec.mimeType)) *
         sizeof(WCHAR);
}

std::size_t ListBytes() {
  std::size_t total = korvanth::imaging::kCodecs.size() * sizeof(ImageCodecInfo);
  for (const auto& codec : korvanth::imaging::kCodecs) total += StringBytes(codec);
  return total;
}

WCHAR* PlaceString(std::uint8_t*& cursor, const char16_t* text) {
  const std::size_t bytes = Units(text) * sizeof(WCHAR);
  std::memcpy(cursor, text, bytes);
  auto* placed = reinterpret_cast<WCHAR*>(cursor);
  cursor += bytes;
  return placed;
}

}  // namespace

GpStatus GdipGetImageEncodersSize(UINT* numEncoders, UINT* size) {
  if (numEncoders == nullptr || size == nullptr) return InvalidParameter;
  *numEncoders = static_cast<UINT>(korvanth::imaging::kCodecs.size());
  *size = static_cast<UINT>(ListBytes());
  return Ok;
}

GpStatus GdipGetImageEncoders(UINT numEncoders, UINT size, ImageCodecInfo* encoders) {
  if (encoders == nullptr) return InvalidParameter;
  if (numEncoders != korvanth::imaging::kCodecs.size() || size != ListBytes()) return GenericError;
  auto* base = reinterpret_cast<std::uint8_t*>(encoders);
  std::uint8_t* strings = base + korvanth::imaging::kCodecs.size() * sizeof(ImageCodecInfo);
  for (std::size_t i = 0; i < korvanth::imaging::kCodecs.size(); ++i) {
    const auto& codec = korvanth::imaging::kCodecs[i];
    ImageCodecInfo info{};
    info.Clsid = codec.clsid;
    info.FormatID = codec.formatId;
    info.CodecName = PlaceString(strings, codec.codecName);
    info.DllName = nullptr;
    info.FormatDescription = PlaceString(strings, codec.formatDescription);
    info.FilenameExtension = PlaceString(strings, codec.filenameExtension);
    info.MimeType = PlaceString(strings, codec.mimeType);
    info.Flags = kBuiltinCodecFlags;
    info.Version = 1;
    // Records are copied bytewise: the caller's buffer need not be aligned for them.
    std::memcpy(base + i * sizeof(ImageCodecInfo), &info, sizeof(info));
  }
  return Ok;
}

}  // namespace Gdiplus::DllExports
