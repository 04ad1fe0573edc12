// Building and saving sheets through the process-wide state, as the window and the
// command-line converter do.
#include <gtest/gtest.h>

#include <QImageWriter>

#include <filesystem>
#include <string>
#include <vector>

#include "convert/conversion_state.h"
#include "convert/export_sheet.h"
#include "support/expected_sheet.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

std::vector<std::string> gWarnings;
void RecordWarning(const char* text) { gWarnings.emplace_back(text); }

// A picture with semi-transparent pixels and a few fully transparent ones.
QImage SourcePicture(int width, int height) {
  QImage image = PatternImage(width, height, true);
  for (int y = 0; y < height; y += 7)
    for (int x = y % 5; x < width; x += 11) image.setPixel(x, y, 0x00000000);
  return image;
}

std::string MagicOf(const std::string& path) {
  const std::string bytes = ReadBytes(path);
  if (bytes.rfind("\x89PNG", 0) == 0) return "png";
  if (bytes.rfind("BM", 0) == 0) return "bmp";
  if (bytes.rfind("GIF8", 0) == 0) return "gif";
  if (bytes.rfind("\xFF\xD8", 0) == 0) return "jpeg";
  if (bytes.rfind("II*", 0) == 0 || bytes.rfind("MM", 0) == 0) return "tiff";
  return bytes.empty() ? "missing" : "unknown";
}

class ExportSheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gWarnings.clear();
    SetFormatWarningHandler(RecordWarning);
    CurrentLayoutFormat = LayoutFormat::Terrain1;
    SelectionOrigin = {0, 0};
  }
  void TearDown() override {
    DestroySourceImage();
    SetFormatWarningHandler(nullptr);
  }

  // Saves `picture` as PNG and loads it as the picture to convert.
  void Load(const QImage& picture, int dpi = 96) {
    QImage stored = picture;
    stored.setDotsPerMeterX(qRound(dpi / 0.0254));
    stored.setDotsPerMeterY(qRound(dpi / 0.0254));
    sourcePath_ = dir_.file("source.png");
    ASSERT_TRUE(stored.save(QString::fromStdString(sourcePath_), "PNG"));
    ASSERT_EQ(ReplaceSourceImage(sourcePath_.c_str()).problem, LoadProblem::None);
  }

  ScratchDir dir_;
  std::string sourcePath_;
};

TEST_F(ExportSheetTest, EveryFormatPlacesEachQuarterExactly) {
  const QImage picture = SourcePicture(200, 230);
  Load(picture);
  const SelectionPoint origins[] = {{0, 0}, {32, 64}, {17, 5}, {104, 102}};
  for (LayoutFormat format : kAllLayoutFormats) {
    for (SelectionPoint origin : origins) {
      CurrentLayoutFormat = format;
      SelectionOrigin = origin;
      const std::string out = dir_.file("sheet.png");
      ASSERT_TRUE(ExportSheet(out.c_str()));
      const QImage got = ReadBack(out);
      EXPECT_EQ(FirstDifference(ExpectedSheet(picture, format, origin.x, origin.y), got), "")
          << LayoutFormatName(format) << " at " << origin.x << "," << origin.y;
    }
  }
  EXPECT_TRUE(gWarnings.empty());
}

TEST_F(ExportSheetTest, Terrain1IgnoresTheBlocksTopLeftTile) {
  QImage picture = SourcePicture(64, 96);
  Load(picture);
  ASSERT_TRUE(ExportSheet(dir_.file("a.png").c_str()));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) picture.setPixel(x, y, 0xFF123456);
  Load(picture);
  ASSERT_TRUE(ExportSheet(dir_.file("b.png").c_str()));
  EXPECT_EQ(FirstDifference(ReadBack(dir_.file("b.png")), ReadBack(dir_.file("a.png"))), "");
}

TEST_F(ExportSheetTest, RoofCornerAndCentreTiles) {
  const QImage picture = SourcePicture(64, 64);
  Load(picture);
  CurrentLayoutFormat = LayoutFormat::Roof;
  ASSERT_TRUE(ExportSheet(dir_.file("roof.png").c_str()));
  const QImage sheet = ReadBack(dir_.file("roof.png"));
  ASSERT_EQ(sheet.size(), QSize(96, 128));
  EXPECT_EQ(FirstDifference(picture.copy(0, 0, 32, 32), sheet.copy(0, 0, 32, 32)), "");
  EXPECT_EQ(FirstDifference(picture.copy(16, 16, 32, 32), sheet.copy(32, 32, 32, 32)), "");
}

TEST_F(ExportSheetTest, BlockOutsideThePictureLeavesTransparentPixels) {
  const QImage picture = SourcePicture(32, 32);
  Load(picture);
  SelectionOrigin = {-32, -64};  // where the window puts a Terrain1 block on a 32 x 32 picture
  ASSERT_TRUE(ExportSheet(dir_.file("small.png").c_str()));
  const QImage sheet = ReadBack(dir_.file("small.png"));
  EXPECT_EQ(FirstDifference(ExpectedSheet(picture, LayoutFormat::Terrain1, -32, -64), sheet), "");
  EXPECT_EQ(sheet.pixel(0, 0), 0x00000000u);
}

TEST_F(ExportSheetTest, ResolutionOfTheSourceBecomes96AndQuartersStayUnscaled) {
  const QImage picture = SourcePicture(64, 96);
  Load(picture, 72);
  REAL dpi = 0;
  ASSERT_EQ(GdipGetImageHorizontalResolution(SourceImage.image->image(), &dpi), Ok);
  EXPECT_NEAR(dpi, 72.0, 0.1);
  ASSERT_TRUE(ExportSheet(dir_.file("dpi.png").c_str()));
  ASSERT_EQ(GdipGetImageHorizontalResolution(SourceImage.image->image(), &dpi), Ok);
  EXPECT_FLOAT_EQ(dpi, 96.0f);
  const QImage sheet = ReadBack(dir_.file("dpi.png"));
  EXPECT_EQ(FirstDifference(ExpectedSheet(picture, LayoutFormat::Terrain1, 0, 0), sheet), "");
  EXPECT_NEAR(sheet.dotsPerMeterX() * 0.0254, 96.0, 0.5);
}

TEST_F(ExportSheetTest, ExtensionSelectsTheEncoderIgnoringCase) {
  Load(SourcePicture(64, 96));
  const std::pair<const char*, const char*> cases[] = {
      {"a.png", "png"},  {"b.Png", "png"},   {"c.JPEG", "jpeg"}, {"d.jpg", "jpeg"},
      {"e.TIF", "tiff"}, {"f.tiff", "tiff"}, {"g.gif", "gif"},   {"h.BMP", "bmp"}};
  for (const auto& [name, magic] : cases) {
    const std::string path = dir_.file(name);
    ASSERT_TRUE(ExportSheet(path.c_str())) << name;
    EXPECT_EQ(MagicOf(path), magic) << name;
    const QImage back = ReadBack(path);
    EXPECT_EQ(back.size(), QSize(128, 320)) << name;
  }
  EXPECT_TRUE(gWarnings.empty());
}

TEST_F(ExportSheetTest, OtherExtensionsWarnAndWriteBitmapsUnderTheirOwnName) {
  Load(SourcePicture(64, 96));
  std::filesystem::create_directory(dir_.path() / "tiles.old");
  const std::string names[] = {"sheet.dib", "sheet.", "sheet.png.bak", "tiles.old/sheet"};
  for (const std::string& name : names) {
    gWarnings.clear();
    const std::string path = dir_.file(name);
    ASSERT_TRUE(ExportSheet(path.c_str())) << name;
    EXPECT_EQ(gWarnings, std::vector<std::string>{"ビットマップ形式で保存します"}) << name;
    EXPECT_EQ(MagicOf(path), "bmp") << name;
  }
}

TEST_F(ExportSheetTest, NothingHappensWithoutAPictureOrWithoutADot) {
  const std::string unknown = dir_.file("sheet.xyz");
  EXPECT_FALSE(ExportSheet(unknown.c_str()));
  EXPECT_TRUE(gWarnings.empty());
  EXPECT_FALSE(std::filesystem::exists(unknown));

  Load(SourcePicture(64, 96));
  const std::string noDot = (dir_.path() / "sheet").string();
  if (noDot.find('.') == std::string::npos) {
    EXPECT_FALSE(ExportSheet(noDot.c_str()));
    EXPECT_FALSE(std::filesystem::exists(noDot));
  }
  EXPECT_TRUE(gWarnings.empty());
}

TEST_F(ExportSheetTest, FailedLoadStillSavesATransparentSheet) {
  WriteBytes(dir_.file("broken.png"), "not a picture at all");
  const LoadOutcome outcome = ReplaceSourceImage(dir_.file("broken.png").c_str());
  EXPECT_EQ(outcome.problem, LoadProblem::UnknownFormat);
  ASSERT_TRUE(SourceImage.exists());
  EXPECT_EQ(SourceImage.width, 0);
  EXPECT_EQ(SourceImage.height, 0);
  ASSERT_TRUE(ExportSheet(dir_.file("empty.png").c_str()));
  const QImage sheet = ReadBack(dir_.file("empty.png"));
  ASSERT_EQ(sheet.size(), QSize(128, 320));
  for (int y = 0; y < sheet.height(); ++y)
    for (int x = 0; x < sheet.width(); ++x) ASSERT_EQ(sheet.pixel(x, y), 0u);
}

TEST_F(ExportSheetTest, UnwritablePathsFailCleanly) {
  Load(SourcePicture(64, 96));
  EXPECT_FALSE(ExportSheet(dir_.file("missing/sheet.png").c_str()));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "missing"));
  std::filesystem::create_directory(dir_.path() / "folder.png");
  EXPECT_FALSE(ExportSheet(dir_.file("folder.png").c_str()));
  const std::string tooLong = dir_.file(std::string(300, 'x') + ".png");
  EXPECT_FALSE(ExportSheet(tooLong.c_str()));
}

TEST_F(ExportSheetTest, StateIsReadAfterTheWarningIsDismissed) {
  Load(SourcePicture(64, 96));
  SetFormatWarningHandler([](const char*) { CurrentLayoutFormat = LayoutFormat::Roof; });
  ASSERT_TRUE(ExportSheet(dir_.file("late.dat").c_str()));
  EXPECT_EQ(ReadBack(dir_.file("late.dat")).size(), QSize(96, 128));

  // A picture closed while the warning shows is not used.
  SetFormatWarningHandler([](const char*) { DestroySourceImage(); });
  EXPECT_FALSE(ExportSheet(dir_.file("closed.dat").c_str()));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "closed.dat"));
}

TEST_F(ExportSheetTest, TheWindowsLayerReportsWhyNothingWasSaved) {
  EXPECT_EQ(ExportSelection(dir_.file("none.png").c_str()).problem, ConversionProblem::NoPicture);
  Load(SourcePicture(64, 96));
  // A stray byte is refused before the warning would show; nothing is written.
  EXPECT_EQ(ExportSelection(dir_.file("bad\xFF.xyz").c_str()).problem,
            ConversionProblem::InvalidName);
  EXPECT_TRUE(gWarnings.empty());
  const auto status = ExportSelection(dir_.file("missing/sheet.png").c_str());
  EXPECT_EQ(status.problem, ConversionProblem::SaveFailed);
  EXPECT_FALSE(ConversionReason(status).empty());
  SetFormatWarningHandler([](const char*) { DestroySourceImage(); });
  EXPECT_EQ(ExportSelection(dir_.file("closed.xyz").c_str()).problem, ConversionProblem::NoPicture);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

TEST(EncoderLookupTest, MimeTypesMatchExactly) {
  CLSID png{};
  EXPECT_GE(FindEncoderByMimeType(WIDE_TEXT("image/png"), &png), 0);
  CLSID untouched{};
  untouched.Data1 = 0x12345678;
  EXPECT_EQ(FindEncoderByMimeType(WIDE_TEXT("image/PNG"), &untouched), -1);
  EXPECT_EQ(untouched.Data1, 0x12345678u);
  EXPECT_EQ(FindEncoderByMimeType(WIDE_TEXT("image/webp"), &untouched), -1);

  gWarnings.clear();
  SetFormatWarningHandler(RecordWarning);
  CLSID bmp{};
  FindEncoderByMimeType(WIDE_TEXT("image/bmp"), &bmp);
  EXPECT_TRUE(EncoderForExtension("PNG") == png);
  EXPECT_TRUE(EncoderForExtension("") == bmp);
  EXPECT_EQ(gWarnings.size(), 1u);
  SetFormatWarningHandler(nullptr);
}

}  // namespace
