// The table of sheet file types: each extension finds its type, whatever its case, and
// nothing else does; the one the unknown extension falls back to; the texts made from the
// table (the window's dialog filters byte for byte as they were written by hand).
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "imaging/file_types.h"

using namespace korvanth;

namespace {

struct Case {
  const char* extension;
  const char* canonical;  // null: no type
};

const Case kCases[] = {
    {"png", "png"},  {"PNG", "png"},    {"bmp", "bmp"},   {"gif", "gif"},    {"jpg", "jpg"},
    {"JpEg", "jpg"}, {"tif", "tif"},    {"TIFF", "tif"},  {"webp", nullptr}, {"", nullptr},
    {"pn", nullptr}, {"jpgg", nullptr}, {"dib", nullptr}, {"png ", nullptr},
};

TEST(FileTypesTest, ExtensionsFindTheirTypeAndMimeTypesLeadBack) {
  for (const Case& c : kCases) {
    const FileType* type = FileTypeForExtension(c.extension);
    if (c.canonical == nullptr) {
      EXPECT_EQ(type, nullptr) << c.extension;
      continue;
    }
    ASSERT_NE(type, nullptr) << c.extension;
    EXPECT_EQ(type->extensions[0], c.canonical) << c.extension;
    EXPECT_EQ(FileTypeForMimeType(type->mimeType), type) << c.extension;
  }
  std::set<std::string_view> spellings;
  for (const FileType& type : FileTypes())
    for (std::string_view spelling : type.extensions)
      EXPECT_TRUE(spelling.empty() || spellings.insert(spelling).second) << spelling;
  EXPECT_EQ(FallbackFileType().extensions[0], "bmp");
  EXPECT_EQ(FileTypeForMimeType(WIDE_TEXT("image/webp")), nullptr);
}

// The Japanese literals are the ones the window's dialogs used before the table made them.
TEST(FileTypesTest, TextsMadeFromTheTableAreTheHandWrittenOnes) {
  constexpr char kOpenFilter[] =
      "画像ファイル (*.bmp; gif; png; jpg; jpeg; tif; tiff)\0"
      "*.bmp;*.dib;*.rle;*.gif;*.png;*.jpg;*.jpeg;*.jpe;*.tif;*.tiff\0"
      "ビットマップ (*.bmp; dib; rle)\0*.bmp;*.dib;*.rle\0"
      "GIF (*.gif)\0*.gif\0"
      "PNG (*.png)\0*.png\0"
      "JPEG (*.jpg; jpeg)\0*.jpg;*.jpeg;*.jpe\0"
      "TIFF (*.tif; tiff)\0*.tif;*.tiff\0"
      "すべてのファイル (*.*)\0*.*\0";
  constexpr char kSaveFilter[] =
      "PNG (*.png)\0*.png\0ビットマップ (*.bmp)\0*.bmp\0すべてのファイル (*.*)\0*.*\0";
  constexpr char kOpenFilterEnglish[] =
      "Picture files (*.bmp; gif; png; jpg; jpeg; tif; tiff)\0"
      "*.bmp;*.dib;*.rle;*.gif;*.png;*.jpg;*.jpeg;*.jpe;*.tif;*.tiff\0"
      "Bitmap (*.bmp; dib; rle)\0*.bmp;*.dib;*.rle\0"
      "GIF (*.gif)\0*.gif\0"
      "PNG (*.png)\0*.png\0"
      "JPEG (*.jpg; jpeg)\0*.jpg;*.jpeg;*.jpe\0"
      "TIFF (*.tif; tiff)\0*.tif;*.tiff\0"
      "All files (*.*)\0*.*\0";
  constexpr char kSaveFilterEnglish[] =
      "PNG (*.png)\0*.png\0Bitmap (*.bmp)\0*.bmp\0All files (*.*)\0*.*\0";
  struct Case {
    UiLanguage language;
    std::string open;
    std::string save;
  };
  for (const Case& c :
       {Case{UiLanguage::Japanese, std::string(kOpenFilter, sizeof kOpenFilter),
             std::string(kSaveFilter, sizeof kSaveFilter)},
        Case{UiLanguage::English, std::string(kOpenFilterEnglish, sizeof kOpenFilterEnglish),
             std::string(kSaveFilterEnglish, sizeof kSaveFilterEnglish)}}) {
    EXPECT_EQ(OpenDialogFilter(c.language), c.open);
    EXPECT_EQ(SaveDialogFilter(c.language), c.save);
  }
  EXPECT_EQ(SaveDialogExtensions(), (std::vector<std::string_view>{"png", "bmp", ""}));
}

}  // namespace
