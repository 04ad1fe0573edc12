// The one conversion path: a job's block turned into a sheet file of the type its name
// selects, the warning before a fallback, and the tilesets written after the sheet, each
// on its own (the refusals are the output plan's).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "convert/conversion_job.h"
#include "convert/export_sheet.h"
#include "support/format_names.h"
#include "support/expected_sheet.h"
#include "support/test_files.h"

using namespace korvanth;

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

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

class ConversionJobTest : public ::testing::Test {
 protected:
  void SetUp() override { Load(SourcePicture(200, 230)); }

  // Saves `picture` as PNG at `dpi` and loads it as the job's picture.
  void Load(const QImage& picture, int dpi = 96) {
    picture_ = picture;
    QImage stored = picture;
    stored.setDotsPerMeterX(qRound(dpi / 0.0254));
    stored.setDotsPerMeterY(qRound(dpi / 0.0254));
    sourcePath_ = dir_.file("source.png");
    ASSERT_TRUE(stored.save(QString::fromStdString(sourcePath_), "PNG"));
    ASSERT_EQ(LoadPictureFile(sourcePath_, source_).problem, LoadProblem::None);
  }

  ConversionJob Job(const std::string& name, LayoutFormat format = LayoutFormat::Terrain1,
                    SelectionPoint origin = {0, 0}) {
    return {&source_, format, origin, dir_.file(name), kNoTilesets, sourcePath_, nullptr, {}};
  }

  ConversionResult Run(const ConversionJob& job) {
    return RunConversion(job, [this](ConversionWarning w) { warnings_.push_back(w); });
  }

  ScratchDir dir_;
  QImage picture_;
  std::string sourcePath_;
  ImageHandle source_;
  std::vector<ConversionWarning> warnings_;
};

TEST_F(ConversionJobTest, EveryFormatPlacesEachQuarterExactly) {
  const SelectionPoint origins[] = {{0, 0}, {32, 64}, {17, 5}, {104, 102}};
  for (LayoutFormat format : kAllLayoutFormats) {
    for (SelectionPoint origin : origins) {
      ASSERT_TRUE(Run(Job("sheet.png", format, origin)).ok());
      EXPECT_EQ(FirstDifference(ReadBack(dir_.file("sheet.png")),
                                ExpectedSheet(picture_, format, origin.x, origin.y)),
                "")
          << LayoutFormatName(format) << " at " << origin.x << "," << origin.y;
    }
  }
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(ConversionJobTest, Terrain1IgnoresTheBlocksTopLeftTile) {
  QImage picture = SourcePicture(64, 96);
  Load(picture);
  ASSERT_TRUE(Run(Job("a.png")).ok());
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) picture.setPixel(x, y, 0xFF123456);
  Load(picture);
  ASSERT_TRUE(Run(Job("b.png")).ok());
  EXPECT_EQ(FirstDifference(ReadBack(dir_.file("a.png")), ReadBack(dir_.file("b.png"))), "");
}

TEST_F(ConversionJobTest, RoofCornerAndCentreTiles) {
  ASSERT_TRUE(Run(Job("roof.png", LayoutFormat::Roof)).ok());
  const QImage sheet = ReadBack(dir_.file("roof.png"));
  ASSERT_EQ(sheet.size(), QSize(96, 128));
  EXPECT_EQ(FirstDifference(sheet.copy(0, 0, 32, 32), picture_.copy(0, 0, 32, 32)), "");
  EXPECT_EQ(FirstDifference(sheet.copy(32, 32, 32, 32), picture_.copy(16, 16, 32, 32)), "");
}

TEST_F(ConversionJobTest, BlocksAtTheEndsOfThePositionRange) {
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
      {LayoutFormat::Terrain1, {-32, -64}, ConversionProblem::None},  // mostly outside
  };
  for (const Case& c : cases) {
    const std::string out = dir_.file("edge.png");
    fs::remove(out);
    EXPECT_EQ(Run(Job("edge.png", c.format, c.origin)).sheet.problem, c.expected)
        << c.origin.x << "," << c.origin.y;
    if (c.expected != ConversionProblem::None) {
      EXPECT_FALSE(fs::exists(out));
      continue;
    }
    EXPECT_EQ(
        FirstDifference(ReadBack(out), ExpectedSheet(picture_, c.format, c.origin.x, c.origin.y)),
        "")
        << c.origin.x << "," << c.origin.y;
  }
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(ConversionJobTest, ResolutionOfTheSourceBecomes96AndQuartersStayUnscaled) {
  Load(SourcePicture(64, 96), 72);
  REAL dpi = 0;
  ASSERT_EQ(GdipGetImageHorizontalResolution(source_.image(), &dpi), Ok);
  EXPECT_NEAR(dpi, 72.0, 0.1);
  ASSERT_TRUE(Run(Job("dpi.png")).ok());
  const QImage sheet = ReadBack(dir_.file("dpi.png"));
  EXPECT_EQ(FirstDifference(sheet, ExpectedSheet(picture_, LayoutFormat::Terrain1, 0, 0)), "");
  EXPECT_NEAR(sheet.dotsPerMeterX() * 0.0254, 96.0, 0.5);
}

// The file type follows the extension, without regard to case; any other name is written
// as BMP under its own name after one warning.
TEST_F(ConversionJobTest, TheExtensionPicksTheFileTypeOrWarnsAndWritesABitmap) {
  fs::create_directory(dir_.path() / "tiles.old");
  struct Case {
    std::string name;
    std::string magic;
    bool warned;
  };
  const Case cases[] = {
      {"a.png", "png", false},  {"b.Png", "png", false},        {"c.JPEG", "jpeg", false},
      {"d.jpg", "jpeg", false}, {"e.TIF", "tiff", false},       {"f.tiff", "tiff", false},
      {"g.gif", "gif", false},  {"h.BMP", "bmp", false},        {"sheet.dib", "bmp", true},
      {"sheet.", "bmp", true},  {"sheet.png.bak", "bmp", true}, {"tiles.old/sheet", "bmp", true},
  };
  for (const Case& c : cases) {
    warnings_.clear();
    ASSERT_TRUE(Run(Job(c.name)).ok()) << c.name;
    EXPECT_EQ(MagicOf(dir_.file(c.name)), c.magic) << c.name;
    if (!c.warned) {
      EXPECT_EQ(ReadBack(dir_.file(c.name)).size(), QSize(128, 320)) << c.name;
    }
    EXPECT_EQ(warnings_.size(), c.warned ? 1u : 0u) << c.name;
  }
  // Without a sink the conversion goes on all the same.
  EXPECT_TRUE(RunConversion(Job("quiet.dat"), {}).ok());
  EXPECT_EQ(MagicOf(dir_.file("quiet.dat")), "bmp");
}

TEST_F(ConversionJobTest, AFailedWriteSaysWhyAndWritesNoTileset) {
  ConversionJob job = Job("missing/sheet.png");
  job.tilesets = kAllTilesets;
  const ConversionResult result = Run(job);
  EXPECT_EQ(result.sheet.problem, ConversionProblem::SaveFailed);
  EXPECT_EQ(ConversionReason(result.sheet), "the folder does not exist");
  EXPECT_TRUE(result.tilesets.empty());
  EXPECT_FALSE(fs::exists(dir_.path() / "missing"));
}

TEST_F(ConversionJobTest, PathsLongerThanTheWindowsBuffersAreWritten) {
  fs::path folder = dir_.path();
  for (int i = 0; i < 4; ++i) folder /= std::string(100, static_cast<char>('a' + i));
  fs::create_directories(folder);
  ConversionJob job = Job("", LayoutFormat::Roof, {16, 8});
  job.output = (folder / "\xE5\x9C\xB0\xE5\xBD\xA2.png").string();
  ASSERT_GT(job.output.size(), 420u);
  EXPECT_TRUE(Run(job).ok());
  EXPECT_EQ(
      FirstDifference(ReadBack(job.output), ExpectedSheet(picture_, LayoutFormat::Roof, 16, 8)),
      "");
}

TEST_F(ConversionJobTest, AFailedLoadStillSavesATransparentSheet) {
  WriteBytes(dir_.file("broken.png"), "not a picture at all");
  ImageHandle broken;
  EXPECT_EQ(LoadPictureNamed(dir_.file("broken.png").c_str(), broken).problem,
            LoadProblem::UnknownFormat);
  ConversionJob job = Job("empty.png");
  job.picture = &broken;
  ASSERT_TRUE(Run(job).ok());
  const QImage sheet = ReadBack(dir_.file("empty.png"));
  ASSERT_EQ(sheet.size(), QSize(128, 320));
  for (int y = 0; y < sheet.height(); ++y)
    for (int x = 0; x < sheet.width(); ++x) ASSERT_EQ(sheet.pixel(x, y), 0u);
}

// The sink hears the warning before anything is written and may change the job.
TEST_F(ConversionJobTest, TheJobIsReadAfterTheWarning) {
  ConversionJob job = Job("late.dat");
  EXPECT_TRUE(RunConversion(job, [&](ConversionWarning) {
                EXPECT_FALSE(fs::exists(dir_.file("late.dat")));
                job.layout = LayoutFormat::Roof;
              }).ok());
  EXPECT_EQ(ReadBack(dir_.file("late.dat")).size(), QSize(96, 128));

  job = Job("closed.dat");
  EXPECT_EQ(RunConversion(job, [&](ConversionWarning) { job.picture = nullptr; }).sheet.problem,
            ConversionProblem::NoPicture);
  EXPECT_FALSE(fs::exists(dir_.file("closed.dat")));

  // A picture opened meanwhile is protected as well.
  job = Job("other.dat");
  fs::copy_file(sourcePath_, job.output);
  const std::string other = ReadBytes(job.output);
  EXPECT_EQ(
      RunConversion(job, [&](ConversionWarning) { job.pictureFile = job.output; }).sheet.problem,
      ConversionProblem::OpenPicture);
  EXPECT_EQ(ReadBytes(job.output), other);
}

TEST_F(ConversionJobTest, TilesetsFollowTheSheetEachOnItsOwn) {
  ConversionJob job = Job("grass.png");
  job.tilesets = kAllTilesets;
  ASSERT_TRUE(Run(job).ok());
  EXPECT_TRUE(fs::exists(dir_.file("grass.tsx")));
  EXPECT_TRUE(fs::exists(dir_.file("grass.tres")));

  // A tileset that cannot be written is listed with its cause; the sheet stays.
  fs::create_directory(dir_.path() / "blocked.tsx");
  job = Job("blocked.png");
  job.tilesets = kTiledTileset;
  const ConversionResult blocked = Run(job);
  EXPECT_TRUE(blocked.sheet.ok());
  ASSERT_EQ(blocked.tilesets.size(), 1u);
  EXPECT_FALSE(blocked.tilesets[0].isPicture);
  EXPECT_EQ(blocked.tilesets[0].reason.english, "it is a folder");
  EXPECT_FALSE(blocked.ok());
}

// A full tile that shows nothing leaves the terrain its default colour (the mean of one
// that does is read back through Tiled in the tilesets tests).
TEST_F(ConversionJobTest, ClearTerrainKeepsTheDefaultColour) {
  QImage clear(96, 128, QImage::Format_ARGB32);
  clear.fill(0);
  Load(clear);
  ConversionJob job = Job("clear.png", LayoutFormat::Terrain2);
  job.tilesets = kTiledTileset;
  ASSERT_TRUE(Run(job).ok());
  EXPECT_NE(ReadBytes(dir_.file("clear.tsx")).find("color=\"#3c9a3c\""), std::string::npos);
}

TEST(EncoderChoiceTest, TheExtensionPicksTheTypeAndAnyOtherFallsBackToBmp) {
  EXPECT_EQ(ChooseEncoder("PNG").type->extensions[0], "png");
  EXPECT_FALSE(ChooseEncoder("PNG").fallback);
  EXPECT_EQ(ChooseEncoder("").type->extensions[0], "bmp");
  EXPECT_TRUE(ChooseEncoder("").fallback);
}

}  // namespace
