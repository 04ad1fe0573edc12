#include "imaging/file_types.h"

#include <algorithm>

#include "imaging/encode/writers.h"

namespace korvanth {

namespace {

// PNG, BMP, GIF and TIFF come from the project's own writers so both hosts write the same
// bytes (GDI+ would also drop BMP's alpha, and write PNG on one core); JPEG from the host's
// encoder.
// The writers that use one thread, whatever they are given.
template <bool (*Write)(const encode::PixelRows&, std::vector<std::uint8_t>&)>
bool OnOneThread(const encode::PixelRows& rows, int, std::vector<std::uint8_t>& out) {
  return Write(rows, out);
}

// The encoders' memory beside the pixels: PNG, BMP and TIFF build the file (at most the
// 4 bytes a pixel and PNG's row and block headers; the space is reserved up front, so
// it never grows by copying); GIF an index a pixel and its LZW codes and file (at most
// 12 bits an index each); JPEG its file, grown by doubling and then copied out.
constexpr FileType kFileTypes[] = {
    {{"png", ""}, WIDE_TEXT("image/png"), encode::WritePng, false, true, 5},
    {{"bmp", ""}, WIDE_TEXT("image/bmp"), OnOneThread<encode::WriteBmp>, false, true, 4},
    {{"gif", ""}, WIDE_TEXT("image/gif"), OnOneThread<encode::WriteGif>, false, false, 4},
    {{"jpg", "jpeg"}, WIDE_TEXT("image/jpeg"), nullptr, true, true, 6},
    {{"tif", "tiff"}, WIDE_TEXT("image/tiff"), OnOneThread<encode::WriteTiff>, false, false, 4},
};
constexpr std::size_t kFallbackIndex = 1;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

// Compared unit by unit: WCHAR is wchar_t on Windows and char16_t elsewhere.
bool SameWideText(const WCHAR* a, const WCHAR* b) {
  while (*a != 0 && *a == *b) ++a, ++b;
  return *a == *b;
}

}  // namespace

std::span<const FileType> FileTypes() { return kFileTypes; }

const FileType* FileTypeForExtension(std::string_view extension) {
  for (const FileType& type : kFileTypes)
    for (std::string_view spelling : type.extensions)
      if (!spelling.empty() && EqualsIgnoringAsciiCase(extension, spelling)) return &type;
  return nullptr;
}

const FileType* FileTypeForMimeType(const WCHAR* mimeType) {
  if (mimeType == nullptr) return nullptr;
  for (const FileType& type : kFileTypes)
    if (SameWideText(type.mimeType, mimeType)) return &type;
  return nullptr;
}

const FileType& FallbackFileType() { return kFileTypes[kFallbackIndex]; }

std::string CanonicalExtensions(std::string_view prefix, std::string_view separator) {
  std::string text;
  for (const FileType& type : kFileTypes) {
    if (!text.empty()) text += separator;
    text += prefix;
    text += type.extensions[0];
  }
  return text;
}

std::string ExtensionSpellings() {
  std::vector<const FileType*> sorted;
  for (const FileType& type : kFileTypes) sorted.push_back(&type);
  std::sort(sorted.begin(), sorted.end(), [](const FileType* a, const FileType* b) {
    return a->extensions[0] < b->extensions[0];
  });
  std::string text;
  for (const FileType* type : sorted) {
    if (!text.empty()) text += ", ";
    text += type->extensions[0];
    if (type->extensions[1].empty()) continue;
    text += '/';
    text += type->extensions[1];
  }
  return text;
}

}  // namespace korvanth
