// No output of korvanth-convert is ever written over an input, however the two names are
// spelt (inputs that are no regular file or break the text rule are rows of
// converter_cases.tsv).
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

class ConvertInputsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // 3 x 1 terrain1 blocks at tile size 16.
    input_ = dir_.file("tiles.png");
    ASSERT_TRUE(PatternImage(96, 48).save(QString::fromStdString(input_), "PNG"));
  }
  std::vector<std::string> Atlas(std::vector<std::string> more, const std::string& picture,
                                 const std::string& output) const {
    std::vector<std::string> arguments = {"--all", "--atlas", "--tile-size", "16"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    arguments.insert(arguments.end(), {picture, output});
    return arguments;
  }
  ScratchDir dir_;
  std::string input_;
};

TEST_F(ConvertInputsTest, NoOutputIsWrittenOverAnInput) {
  fs::create_directory(dir_.path() / "sub");
  const std::string picture = ReadBytes(input_);
  // Each input (a picture, read by its content, or a names file) under each output's
  // extension; the atlas "in.png" then has one output (in.png, in.tsx or in.tres) on it,
  // named in several spellings of the same file.
  for (const bool isPicture : {true, false}) {
    for (const std::string extension : {".png", ".tsx", ".tres"}) {
      const std::string file = dir_.file("in" + extension);
      WriteBytes(file, isPicture ? picture : "grass\n");
      for (const std::string link : {"link", "hard"}) fs::remove(dir_.path() / (link + extension));
      fs::create_symlink("in" + extension, dir_.path() / ("link" + extension));
      fs::create_hard_link(file, dir_.path() / ("hard" + extension));
      for (const std::string stem : {"in", "sub/../in", "./in", "link", "hard"}) {
        const std::string output = dir_.file(stem + ".png");
        SCOPED_TRACE((isPicture ? "picture in" : "names in") + extension + " as " + output);
        const std::vector<std::string> more =
            isPicture ? std::vector<std::string>{"--tileset", "both"}
                      : std::vector<std::string>{"--tileset", "both", "--names", file};
        const ProgramRun r = RunConverter(Atlas(more, isPicture ? file : input_, output));
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_NE(r.err.find(isPicture ? "is the input picture; it is never written over"
                                       : "it is the names file; it is never written over"),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("nothing written"), std::string::npos) << r.err;
        EXPECT_EQ(ReadBytes(file), isPicture ? picture : "grass\n");
      }
      fs::remove(file);
    }
  }
  EXPECT_EQ(FileNamesIn(dir_.path()),
            (std::set<std::string>{"tiles.png", "sub", "link.png", "link.tsx", "link.tres",
                                   "hard.png", "hard.tsx", "hard.tres"}));
}

}  // namespace
