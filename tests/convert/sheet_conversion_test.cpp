// The conversion core with its inputs given explicitly: names, block positions at the
// ends of the 32-bit range, warnings and the reasons of failures.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "convert/sheet_conversion.h"
#include "convert/utf8_path.h"
#include "support/expected_sheet.h"
#include "support/test_files.h"

using namespace korvanth;

namespace fs = std::filesystem;
using korvanth::ConversionProblem;
using korvanth::ConversionWarning;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

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

TEST(Utf8NameTest, TheWindowsPathBufferRefusesBytesThatAreNotText) {
  WCHAR wide[kPathBufferSize];
  EXPECT_FALSE(WidenPath("x\xFF.png", wide));
  EXPECT_FALSE(WidenPath("\xC0\x80", wide));
  ASSERT_TRUE(WidenPath("x\xEF\xBF\xBD.png", wide));
  EXPECT_EQ(wide[1], 0xFFFD);
}

// The window's command line and drops load through ReplaceSourceImage: a stray byte must
// not open the file whose name holds U+FFFD in its place.
TEST(Utf8NameTest, APictureIsNeverLoadedUnderARepairedName) {
  ScratchDir dir;
  ASSERT_TRUE(
      PatternImage(64, 96).save(QString::fromStdString(dir.file("x\xEF\xBF\xBD.png")), "PNG"));
  EXPECT_NE(ReplaceSourceImage(dir.file("x\xFF.png").c_str()).problem, LoadProblem::None);
  EXPECT_EQ(SourceImage.width, 0);
  EXPECT_EQ(ReplaceSourceImage(dir.file("x\xEF\xBF\xBD.png").c_str()).problem, LoadProblem::None);
  EXPECT_EQ(SourceImage.width, 64);
  DestroySourceImage();
}

class SheetConversionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    picture_ = PatternImage(200, 230, true);
    const std::string path = dir_.file("source.png");
    ASSERT_TRUE(picture_.save(QString::fromStdString(path), "PNG"));
    source_ = ImageHandle::FromFile(reinterpret_cast<const WCHAR*>(Wide(path).c_str()));
    ASSERT_EQ(source_.lastStatus(), Ok);
  }

  korvanth::ConversionStatus Convert(LayoutFormat format, SelectionPoint origin,
                                     const std::string& path) {
    return korvanth::ConvertBlockToFile(source_, format, origin, path,
                                        [this](ConversionWarning w) { warnings_.push_back(w); });
  }

  std::size_t FilesInDir() const {
    return static_cast<std::size_t>(
        std::distance(fs::recursive_directory_iterator(dir_.path()), {}));
  }

  ScratchDir dir_;
  QImage picture_;
  ImageHandle source_;
  std::vector<ConversionWarning> warnings_;
};

TEST_F(SheetConversionTest, BlocksAtTheEndsOfThePositionRange) {
  struct Case {
    LayoutFormat format;
    SelectionPoint origin;
    ConversionProblem expected;
  };
  const Case cases[] = {
      {LayoutFormat::Terrain1, {kMax, 0}, ConversionProblem::BlockOutOfRange},
      {LayoutFormat::Terrain1, {0, kMax}, ConversionProblem::BlockOutOfRange},
      {LayoutFormat::Terrain1, {kMax - 63, kMax - 95}, ConversionProblem::None},
      {LayoutFormat::Terrain2, {kMax - 63, 0}, ConversionProblem::BlockOutOfRange},
      {LayoutFormat::Terrain2, {kMax - 95, kMax - 127}, ConversionProblem::None},
      {LayoutFormat::Roof, {kMax - 63, kMax - 63}, ConversionProblem::None},
      {LayoutFormat::Roof, {kMin, kMin}, ConversionProblem::None},
      {LayoutFormat::Terrain1, {kMin, 0}, ConversionProblem::None},
      {LayoutFormat::Terrain2, {-40, 150}, ConversionProblem::None},  // partly inside
  };
  for (const Case& c : cases) {
    const std::string out = dir_.file("edge.png");
    fs::remove(out);
    const auto status = Convert(c.format, c.origin, out);
    EXPECT_EQ(status.problem, c.expected) << c.origin.x << "," << c.origin.y;
    if (c.expected != ConversionProblem::None) {
      EXPECT_FALSE(fs::exists(out));
      continue;
    }
    EXPECT_EQ(
        FirstDifference(ExpectedSheet(picture_, c.format, c.origin.x, c.origin.y), ReadBack(out)),
        "")
        << c.origin.x << "," << c.origin.y;
  }
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(SheetConversionTest, NamesThatAreNotTextAreNeverRepaired) {
  // The valid name that a repaired "x\xFF.png" would become.
  const std::string lookalike = dir_.file("x\xEF\xBF\xBD.png");
  WriteBytes(lookalike, "keep me");
  const std::size_t before = FilesInDir();
  for (const std::string name : {"x\xFF.png", "out\xFF.png", "\xC3.png", "a\xED\xA0\x80.bmp"}) {
    EXPECT_EQ(Convert(LayoutFormat::Terrain1, {0, 0}, dir_.file(name)).problem,
              ConversionProblem::InvalidName);
  }
  EXPECT_EQ(ReadBytes(lookalike), "keep me");
  EXPECT_EQ(FilesInDir(), before);
}

TEST_F(SheetConversionTest, PathsLongerThanTheWindowsBuffersAreWritten) {
  fs::path folder = dir_.path();
  for (int i = 0; i < 4; ++i) folder /= std::string(100, static_cast<char>('a' + i));
  fs::create_directories(folder);
  const std::string out = (folder / "\xE5\x9C\xB0\xE5\xBD\xA2.png").string();
  ASSERT_GT(out.size(), 420u);
  EXPECT_TRUE(Convert(LayoutFormat::Roof, {16, 8}, out).ok());
  EXPECT_EQ(FirstDifference(ExpectedSheet(picture_, LayoutFormat::Roof, 16, 8), ReadBack(out)), "");
}

TEST_F(SheetConversionTest, UnknownExtensionsWarnOnceAndWriteBitmaps) {
  const std::string out = dir_.file("sheet.xyz");
  EXPECT_TRUE(Convert(LayoutFormat::Terrain1, {0, 0}, out).ok());
  EXPECT_EQ(warnings_, std::vector<ConversionWarning>{ConversionWarning::BitmapFallback});
  EXPECT_EQ(ReadBytes(out).substr(0, 2), "BM");

  // Without a sink the conversion goes on all the same.
  EXPECT_TRUE(
      korvanth::ConvertBlockToFile(source_, LayoutFormat::Roof, {0, 0}, dir_.file("quiet.dat"), {})
          .ok());
  EXPECT_EQ(Convert(LayoutFormat::Roof, {0, 0}, (dir_.path() / "noext").string()).problem,
            ConversionProblem::NoExtension);
}

TEST_F(SheetConversionTest, WriteFailuresNameTheirCause) {
  fs::create_directory(dir_.path() / "folder.png");
  struct Case {
    std::string path;
    std::string reason;
  };
  const Case cases[] = {
      {dir_.file("missing/sheet.png"), "the folder does not exist"},
      {dir_.file("folder.png"), "it is a folder"},
      {dir_.file(std::string(300, 'n') + ".png"), "name too long"},
  };
  for (const Case& c : cases) {
    const auto status = Convert(LayoutFormat::Terrain1, {0, 0}, c.path);
    EXPECT_EQ(status.problem, ConversionProblem::SaveFailed) << c.path;
    EXPECT_EQ(korvanth::ConversionReason(status), c.reason) << c.path;
  }
  EXPECT_FALSE(fs::exists(dir_.path() / "missing"));
}

}  // namespace
