// The table of sheet file types, each with its writer, and lookups by extension or MIME type.
#include "imaging/file_types.h"

#include <algorithm>
#include <iterator>

#include "imaging/encode/writers.h"

namespace korvanth {

namespace {

// PNG, BMP, GIF and TIFF come from the project's own writers so both hosts write the same
// bytes (GDI+ would also drop BMP's alpha, and write PNG on one core); JPEG from the host's
// encoder.
// The writers that use one thread, whatever they are given.
template <bool (*Write)(const imaging::encode::PixelRows&, std::vector<std::uint8_t>&)>
bool OnOneThread(const imaging::encode::PixelRows& rows, int, std::vector<std::uint8_t>& out) {
  return Write(rows, out);
}

// The encoders' memory beside the pixels: PNG, BMP and TIFF build the file (at most the
// 4 bytes a pixel and PNG's row and block headers; the space is reserved up front, so
// it never grows by copying); GIF an index a pixel and its LZW codes and file (at most
// 12 bits an index each); JPEG its file, grown by doubling and then copied out.
// Columns: extensions, MIME type, own writer, lossy, fallback, encoder bytes a pixel; the
// Open dialog's caption, patterns and place; the Save dialog's name.
// clang-format off
constexpr FileType kFileTypes[] = {
    {{"png", ""}, WIDE_TEXT("image/png"), imaging::encode::WritePng, false, false, 5,
     {"PNG (*.png)", "PNG (*.png)"}, "*.png", 2, {"PNG", "PNG"}},
    {{"bmp", ""}, WIDE_TEXT("image/bmp"), OnOneThread<imaging::encode::WriteBmp>, false, true, 4,
     {"ビットマップ (*.bmp; dib; rle)", "Bitmap (*.bmp; dib; rle)"}, "*.bmp;*.dib;*.rle", 0,
     {"ビットマップ", "Bitmap"}},
    {{"gif", ""}, WIDE_TEXT("image/gif"), OnOneThread<imaging::encode::WriteGif>, false, false, 4,
     {"GIF (*.gif)", "GIF (*.gif)"}, "*.gif", 1, {nullptr, nullptr}},
    {{"jpg", "jpeg"}, WIDE_TEXT("image/jpeg"), nullptr, true, false, 6,
     {"JPEG (*.jpg; jpeg)", "JPEG (*.jpg; jpeg)"}, "*.jpg;*.jpeg;*.jpe", 3, {nullptr, nullptr}},
    {{"tif", "tiff"}, WIDE_TEXT("image/tiff"), OnOneThread<imaging::encode::WriteTiff>, false, false, 4,
     {"TIFF (*.tif; tiff)", "TIFF (*.tif; tiff)"}, "*.tif;*.tiff", 4, {nullptr, nullptr}},
};
// clang-format on

constexpr bool OneFallbackAndOpenPlaces() {
  int fallbacks = 0;
  for (std::size_t place = 0; place < std::size(kFileTypes); ++place) {
    int types = 0;
    for (const FileType& type : kFileTypes) types += type.openPlace == static_cast<int>(place);
    if (types != 1) return false;
  }
  for (const FileType& type : kFileTypes) fallbacks += type.fallback;
  return fallbacks == 1;
}
static_assert(OneFallbackAndOpenPlaces(), "one fallback type; each Open dialog place once");

// The Open dialog's first entry's name; the last entry of both dialogs.
constexpr UiText kEveryPictureName = {"画像ファイル", "Picture files"};
constexpr UiText kEveryFileCaption = {"すべてのファイル (*.*)", "All files (*.*)"};

// A dialog filter entry: its caption and its patterns, each zero-terminated.
void AddFilterEntry(std::string& filter, std::string_view caption, std::string_view patterns) {
  filter.append(caption).append(1, '\0').append(patterns).append(1, '\0');
}

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

const FileType& FallbackFileType() {
  return *std::find_if(std::begin(kFileTypes), std::end(kFileTypes),
                       [](const FileType& type) { return type.fallback; });
}

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

std::string OpenDialogFilter(UiLanguage language) {
  std::vector<const FileType*> listed(std::size(kFileTypes));
  for (const FileType& type : kFileTypes) listed[type.openPlace] = &type;
  // "画像ファイル (*.bmp; gif; ...; tiff)" over every type's patterns, then each type.
  std::string spellings, patterns, entries;
  for (const FileType* type : listed) {
    for (std::string_view spelling : type->extensions)
      if (!spelling.empty()) spellings.append(spellings.empty() ? "*." : "; ").append(spelling);
    patterns.append(patterns.empty() ? "" : ";").append(type->openPatterns);
    AddFilterEntry(entries, InLanguage(type->openCaption, language), type->openPatterns);
  }
  std::string filter;
  AddFilterEntry(filter,
                 std::string(InLanguage(kEveryPictureName, language)) + " (" + spellings + ")",
                 patterns);
  filter += entries;
  AddFilterEntry(filter, InLanguage(kEveryFileCaption, language), "*.*");
  return filter += '\0';
}

std::string SaveDialogFilter(UiLanguage language) {
  std::string filter;
  for (const FileType& type : kFileTypes) {
    if (type.saveName.japanese == nullptr) continue;
    const std::string pattern = std::string("*.").append(type.extensions[0]);
    AddFilterEntry(filter, std::string(InLanguage(type.saveName, language)) + " (" + pattern + ")",
                   pattern);
  }
  AddFilterEntry(filter, InLanguage(kEveryFileCaption, language), "*.*");
  return filter += '\0';
}

std::vector<std::string_view> SaveDialogExtensions() {
  std::vector<std::string_view> extensions;
  for (const FileType& type : kFileTypes)
    if (type.saveName.japanese != nullptr) extensions.push_back(type.extensions[0]);
  extensions.push_back("");
  return extensions;
}

}  // namespace korvanth
