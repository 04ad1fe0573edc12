// korvanth-convert's sheets held pixel for pixel against the expected sheet; its messages,
// exit codes and files written are rows of converter_cases.tsv.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/expected_sheet.h"
#include "support/format_names.h"
#include "support/program_run.h"
#include "support/test_files.h"

using namespace korvanth;

namespace fs = std::filesystem;

namespace {

using RunResult = ProgramRun;

class ConvertProgramTest : public ::testing::Test {
 protected:
  std::string WritePicture(const std::string& name, int width, int height) {
    picture_ = PatternImage(width, height, true);
    const std::string path = dir_.file(name);
    EXPECT_TRUE(picture_.save(QString::fromStdString(path), "PNG"));
    return path;
  }
  ScratchDir dir_;
  QImage picture_;
};

TEST_F(ConvertProgramTest, ConvertsTheBlockAtAnOriginPixelForPixel) {
  const std::string input = WritePicture("tiles.png", 256, 300);
  for (LayoutFormat format : kAllLayoutFormats) {
    const std::string output = dir_.file(std::string(LayoutFormatName(format)) + ".png");
    RunResult r = RunConverter(
        {"--format", std::string(LayoutFormatName(format)), "--origin", "40,70", input, output});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(FirstDifference(ExpectedSheet(picture_, format, 40, 70), ReadBack(output)), "");
  }
}

TEST_F(ConvertProgramTest, CellPutsTheBlockOnItsCell) {
  const std::string input = WritePicture("narrow.png", 256, 300);
  const std::string output = dir_.file("cell.png");
  RunResult r = RunConverter({"--format=terrain2", "--cell=5,5", input, output});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // The last cell where the 96 x 128 block lies whole: 5 * 32 + 96 = 256, 5 * 32 + 128 < 300.
  EXPECT_EQ(
      FirstDifference(ExpectedSheet(picture_, LayoutFormat::Terrain2, 160, 160), ReadBack(output)),
      "");
}

TEST_F(ConvertProgramTest, BlockOutsideThePictureWarnsAndConverts) {
  const std::string input = WritePicture("small.png", 40, 40);
  const std::string output = dir_.file("outside.png");
  RunResult r = RunConverter({"--cell", "0,0", input, output});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.err.find("warning"), std::string::npos);
  EXPECT_EQ(
      FirstDifference(ExpectedSheet(picture_, LayoutFormat::Terrain1, -24, -56), ReadBack(output)),
      "");
}

TEST_F(ConvertProgramTest, BatchWritesEveryWholeBlock) {
  const std::string input = WritePicture("ground.png", 130, 200);  // 2 x 2 Terrain1 blocks
  const std::string outdir = dir_.file("sheets");
  RunResult r = RunConverter({"--all", input, outdir});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find('\r'), std::string::npos);  // no progress line off a terminal
  int count = 0;
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 2; ++column) {
      const std::string path =
          outdir + "/ground_" + std::to_string(column) + "_" + std::to_string(row) + ".png";
      ASSERT_TRUE(fs::exists(path)) << path;
      EXPECT_EQ(
          FirstDifference(ExpectedSheet(picture_, LayoutFormat::Terrain1, column * 64, row * 96),
                          ReadBack(path)),
          "");
      ++count;
    }
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(outdir), fs::directory_iterator()), count);
}

}  // namespace
