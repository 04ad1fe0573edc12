// Names as the conversion takes them: UTF-8 validity, widening of any length, the parts of
// a file's name, the window's fixed path buffer and loading under a name that is never
// repaired.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "convert/picture_file.h"
#include "convert/utf8_path.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

TEST(Utf8NameTest, ValidityFollowsTheEncodingRules) {
  struct Case {
    std::string text;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"plain.png", true},
      {"x\xEF\xBF\xBD.png", true},         // U+FFFD itself is a character
      {"\xE5\x9C\xB0\xE5\xBD\xA2", true},  // 地形
      {"\xF0\x9F\x98\x80", true},          // beyond the BMP
      {"x\xFF.png", false},
      {"\x80", false},              // lone continuation byte
      {"\xC0\x80", false},          // overlong
      {"\xE0\x9F\xBF", false},      // overlong three-byte form
      {"\xED\xA0\x80", false},      // an encoded surrogate
      {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
      {"\xE5\x9C", false},          // cut short at the end
      {"\xE5\x9C.png", false},      // cut short inside
  };
  for (const Case& c : cases) {
    EXPECT_EQ(korvanth::IsValidUtf8(c.text), c.valid) << korvanth::PrintableName(c.text);
    EXPECT_EQ(korvanth::WidenUtf8(c.text).has_value(), c.valid) << korvanth::PrintableName(c.text);
  }
}

TEST(Utf8NameTest, WideningKeepsEveryCharacterOfAnyLength) {
  const auto wide = korvanth::WidenUtf8("\xE5\x9C\xB0/\xF0\x9F\x98\x80.png");
  ASSERT_TRUE(wide);
  const std::vector<WCHAR> expected = {0x5730, '/', 0xD83D, 0xDE00, '.', 'p', 'n', 'g', 0};
  EXPECT_EQ(*wide, expected);

  const std::string longName(5000, 'a');
  const auto longWide = korvanth::WidenUtf8(longName);
  ASSERT_TRUE(longWide);
  EXPECT_EQ(longWide->size(), 5001u);
  EXPECT_EQ(longWide->back(), 0);

  EXPECT_FALSE(korvanth::WidenUtf8(std::string("a\0b", 3)));
  EXPECT_EQ(korvanth::PrintableName("x\xFF\xE5\x9C\xB0\xE5.png"), "x\\xFF\xE5\x9C\xB0\\xE5.png");
}

// The file name is what follows the last separator; a '.' in a folder's name is no
// extension, and a leading one starts no extension of the stem.
TEST(Utf8NameTest, TheFileNameAloneGivesTheStemTheExtensionAndTheTilesetsName) {
  struct Case {
    std::string path, name, stem;
    std::optional<std::string> extension;
    std::string tileset;  // the ".tsx" beside it
  };
  const Case cases[] = {
      {"/a/b.c/sheet.png", "sheet.png", "sheet", "png", "/a/b.c/sheet.tsx"},
      {"sheet.v2.bmp", "sheet.v2.bmp", "sheet.v2", "bmp", "sheet.v2.tsx"},
      {"dir.x/noext", "noext", "noext", std::nullopt, "dir.x/noext.tsx"},
      {"a/.hidden", ".hidden", ".hidden", "hidden", "a/.hidden.tsx"},
      {"sheet.", "sheet.", "sheet", "", "sheet.tsx"},
      {"d/", "", "", std::nullopt, "d/.tsx"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
    EXPECT_EQ(FileStem(c.path), c.stem) << c.path;
    EXPECT_EQ(ExtensionOf(c.path), c.extension) << c.path;
    EXPECT_EQ(TilesetPathFor(c.path, ".tsx"), c.tileset) << c.path;
  }
}

TEST(Utf8NameTest, TheWindowsPathBufferRefusesBytesThatAreNotText) {
  WCHAR wide[kPathBufferSize];
  EXPECT_FALSE(WidenPath("x\xFF.png", wide));
  EXPECT_FALSE(WidenPath("\xC0\x80", wide));
  ASSERT_TRUE(WidenPath("x\xEF\xBF\xBD.png", wide));
  EXPECT_EQ(wide[1], 0xFFFD);
}

// The window's command line and drops load through LoadPictureNamed: a stray byte must
// not open the file whose name holds U+FFFD in its place.
TEST(Utf8NameTest, APictureIsNeverLoadedUnderARepairedName) {
  ScratchDir dir;
  ASSERT_TRUE(
      PatternImage(64, 96).save(QString::fromStdString(dir.file("x\xEF\xBF\xBD.png")), "PNG"));
  ImageHandle picture;
  EXPECT_NE(LoadPictureNamed(dir.file("x\xFF.png").c_str(), picture).problem, LoadProblem::None);
  EXPECT_EQ(picture.Width(), 0u);
  EXPECT_EQ(LoadPictureNamed(dir.file("x\xEF\xBF\xBD.png").c_str(), picture).problem,
            LoadProblem::None);
  EXPECT_EQ(picture.Width(), 64u);
}

}  // namespace
