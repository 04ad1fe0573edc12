// The table of sheet file types: each extension finds its type, whatever its case, and
// nothing else does; what the types are known for outside this code (which ones Godot 4
// imports, which one the unknown extension falls back to).
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "imaging/file_types.h"

using namespace korvanth;

namespace {

struct Case {
  const char* extension;
  const char* canonical;  // null: no type
  bool godotImports;
};

const Case kCases[] = {
    {"png", "png", true},    {"PNG", "png", true},     {"bmp", "bmp", true},
    {"gif", "gif", false},   {"jpg", "jpg", true},     {"JpEg", "jpg", true},
    {"tif", "tif", false},   {"TIFF", "tif", false},   {"webp", nullptr, false},
    {"", nullptr, false},    {"pn", nullptr, false},   {"jpgg", nullptr, false},
    {"dib", nullptr, false}, {"png ", nullptr, false},
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
    EXPECT_EQ(type->godotImports, c.godotImports) << c.extension;
    EXPECT_EQ(FileTypeForMimeType(type->mimeType), type) << c.extension;
  }
  std::set<std::string_view> spellings;
  for (const FileType& type : FileTypes())
    for (std::string_view spelling : type.extensions)
      EXPECT_TRUE(spelling.empty() || spellings.insert(spelling).second) << spelling;
  EXPECT_EQ(FallbackFileType().extensions[0], "bmp");
  EXPECT_EQ(FileTypeForMimeType(WIDE_TEXT("image/webp")), nullptr);
}

}  // namespace
