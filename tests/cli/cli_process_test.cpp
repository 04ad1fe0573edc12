// korvanth-convert run as a user runs it: arguments, files written, messages, exit codes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/format_names.h"
#include "support/expected_sheet.h"
#include "support/program_run.h"
#include "support/test_files.h"

using namespace korvanth;

namespace fs = std::filesystem;

namespace {

using RunResult = ProgramRun;

// Runs the converter with arguments passed as raw bytes (names that are not valid UTF-8
// cannot travel through QString).
RunResult RunConvertBytes(const std::vector<std::string>& arguments, const std::string& errFile) {
  std::vector<char*> argv;
  std::string program = KORVANTH_CONVERT_EXE;
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int fd = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  RunResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = ReadBytes(errFile);
  std::filesystem::remove(errFile);
  return result;
}

// Lines of the converter's own (a decoding library may add a diagnostic of its own).
int Lines(const std::string& text) {
  int lines = 0;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (text.compare(start, 17, "korvanth-convert:") == 0) ++lines;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

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

TEST_F(ConvertProgramTest, HelpAndVersion) {
  RunResult help = RunConverter({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--format"), std::string::npos);
  EXPECT_EQ(RunConverter({"-h"}).exitCode, 0);
  RunResult version = RunConverter({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("korvanth-convert ", 0), 0u);
}

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

TEST_F(ConvertProgramTest, CellIsPulledBackInsideThePicture) {
  const std::string input = WritePicture("narrow.png", 256, 300);
  const std::string output = dir_.file("cell.png");
  RunResult r = RunConverter({"--format=terrain2", "--cell=7,9", input, output});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // x: 7 * 32 + 96 > 256 gives 160; y: 9 * 32 + 128 > 300 gives 172.
  EXPECT_EQ(
      FirstDifference(ExpectedSheet(picture_, LayoutFormat::Terrain2, 160, 172), ReadBack(output)),
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

TEST_F(ConvertProgramTest, UnknownExtensionWarnsAndWritesABitmapUnderThatName) {
  const std::string input = WritePicture("tiles.png", 64, 96);
  const RunResult r = RunConverter({input, dir_.file("sheet.xyz")});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(Lines(r.err), 1) << r.err;
  EXPECT_NE(r.err.find("sheet.xyz: the extension selects no file type; BMP content is written"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("(ビットマップ形式で保存します)"), std::string::npos) << r.err;
  EXPECT_EQ(ReadBytes(dir_.file("sheet.xyz")).substr(0, 2), "BM");
  EXPECT_EQ(RunConverter({input, dir_.file("noextension")}).exitCode, 2);
  EXPECT_FALSE(fs::exists(dir_.path() / "noextension"));
}

TEST_F(ConvertProgramTest, UnreadableInputsAreOneLineErrorsAndWriteNothing) {
  WriteBytes(dir_.file("garbage.png"), std::string("\x89PNG\r\n\x1a\n garbage", 17));
  WriteBytes(dir_.file("empty.bmp"), "");
  fs::create_directory(dir_.path() / "folder.png");
  for (const std::string name : {"garbage.png", "empty.bmp", "folder.png", "missing.png"}) {
    const std::string output = dir_.file("out-" + name + ".png");
    RunResult r = RunConverter({dir_.file(name), output});
    EXPECT_EQ(r.exitCode, 1) << name;
    EXPECT_EQ(Lines(r.err), 1) << r.err;
    EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(output)) << name;
  }
}

TEST_F(ConvertProgramTest, NeverWritesOverItsInput) {
  const std::string input = WritePicture("self.png", 64, 96);
  const std::string before = ReadBytes(input);
  // Other spellings of the same file are the same-file rule's own cases (convert tests).
  RunResult r = RunConverter({input, input});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("is the input picture"), std::string::npos) << r.err;
  EXPECT_EQ(ReadBytes(input), before);
}

TEST_F(ConvertProgramTest, FailedWriteKeepsAnExistingFileAndReportsIt) {
  const std::string input = WritePicture("tiles.png", 64, 96);
  RunResult r = RunConverter({input, dir_.file("no/such/folder/sheet.png")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("folder"), std::string::npos);

  // Replacing an existing sheet works and leaves no temporary files behind.
  const std::string output = dir_.file("sheet.png");
  WriteBytes(output, "old contents");
  ASSERT_EQ(RunConverter({input, output}).exitCode, 0);
  EXPECT_EQ(ReadBack(output).size(), QSize(128, 320));
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir_.path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 2);
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

  r = RunConverter({"--all", "--format", "roof", "--type", "gif", input, dir_.file("gifs")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(fs::exists(dir_.path() / "gifs" / "ground_1_2.gif"));
  EXPECT_EQ(ReadBytes(dir_.file("gifs/ground_0_0.gif")).substr(0, 4), "GIF8");
}

TEST_F(ConvertProgramTest, BatchGoesOnAfterAFailedBlock) {
  const std::string input = WritePicture("ground.png", 128, 96);
  const std::string outdir = dir_.file("out");
  fs::create_directories(fs::path(outdir) / "ground_0_0.png");  // a folder in the way
  RunResult r = RunConverter({"--all", input, outdir});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("ground_0_0.png"), std::string::npos);
  EXPECT_TRUE(fs::exists(fs::path(outdir) / "ground_1_0.png"));

  EXPECT_EQ(RunConverter({"--all", WritePicture("tiny.png", 30, 30), dir_.file("none")}).exitCode,
            1);
}

// However many sheets are written at once, the same files and the same messages in the
// order of the blocks.
TEST_F(ConvertProgramTest, BatchSaysTheSameForAnyNumberOfJobs) {
  const std::string input = WritePicture("ground.png", 64 * 3, 96 * 2);
  std::string expected;
  for (const char* blocked : {"ground_1_0.png", "ground_0_1.png", "ground_2_1.png"}) {
    for (const char* folder : {"serial", "parallel", "default"})
      fs::create_directories(dir_.path() / folder / blocked);
  }
  for (const char* folder : {"serial", "parallel", "default"}) {
    const std::string out = dir_.file(folder);
    std::string said;
    for (const char* blocked : {"ground_1_0.png", "ground_0_1.png", "ground_2_1.png"})
      said += "korvanth-convert: " + out + "/" + blocked + ": cannot write: it is a folder\n";
    said += "korvanth-convert: 3 of 6 sheets written to " + out + "\n";
    std::vector<std::string> arguments = {"--all", input, out};
    if (folder == std::string("serial")) arguments.insert(arguments.begin(), {"--jobs", "1"});
    if (folder == std::string("parallel")) arguments.insert(arguments.begin(), {"--jobs", "4"});
    const RunResult r = RunConverter(arguments);
    EXPECT_EQ(r.exitCode, 1) << folder;
    EXPECT_EQ(r.err, said) << folder;
    for (const char* written : {"ground_0_0.png", "ground_2_0.png", "ground_1_1.png"}) {
      EXPECT_EQ(ReadBytes(out + "/" + written), ReadBytes(dir_.file("serial/") + written))
          << folder << " " << written;
    }
  }
  EXPECT_EQ(FirstDifference(ReadBack(dir_.file("default/ground_1_1.png")),
                            ExpectedSheet(picture_, LayoutFormat::Terrain1, 64, 96)),
            "");
}

TEST_F(ConvertProgramTest, JapaneseNamesWork) {
  const std::string input = WritePicture("地形タイル.png", 64, 96);
  const std::string output = dir_.file("出力シート.png");
  RunResult r = RunConverter({input, output});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(
      FirstDifference(ExpectedSheet(picture_, LayoutFormat::Terrain1, 0, 0), ReadBack(output)), "");
  r = RunConverter({"--all", input, dir_.file("バッチ")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(fs::exists(fs::path(dir_.file("バッチ")) / "地形タイル_0_0.png"));
}

TEST_F(ConvertProgramTest, LongNamesWorkAsFarAsTheSystemAllows) {
  // Over 400 bytes: past the window's 260-byte buffers, within Linux's own limits.
  fs::path deep = dir_.path();
  for (int level = 0; level < 8; ++level) deep /= std::string(40, 'a' + level) + "_フォルダ";
  fs::create_directories(deep);
  const std::string input =
      WritePicture((deep / "入力.png").lexically_relative(dir_.path()).string(), 64, 96);
  ASSERT_GT(input.size(), 400u);
  const std::string output = (deep / "出力.png").string();
  RunResult r = RunConverter({input, output});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(
      FirstDifference(ExpectedSheet(picture_, LayoutFormat::Terrain1, 0, 0), ReadBack(output)), "");
  r = RunConverter({"--all", input, (deep / "batch").string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(fs::exists(deep / "batch" / "入力_0_0.png"));
}

TEST_F(ConvertProgramTest, NamesThatAreNotUtf8AreRefusedBeforeAnythingIsWritten) {
  // The input's name is what the output's stray byte would become if it were repaired.
  const std::string input = WritePicture("x\xEF\xBF\xBD.png", 64, 96);
  const std::string before = ReadBytes(input);
  const std::string strayInput = dir_.file("in\xFF.png");
  fs::copy_file(input, strayInput);
  const std::string errFile = "/tmp/korvanth-cli-err-" + std::to_string(getpid());
  const auto count = [this] {
    return std::distance(fs::recursive_directory_iterator(dir_.path()), {});
  };
  const auto filesBefore = count();

  struct Case {
    std::vector<std::string> arguments;
    std::string shown;  // how the refused name appears in the message
  };
  const Case cases[] = {
      {{input, dir_.file("x\xFF.png")}, "x\\xFF.png"},
      {{strayInput, dir_.file("out.png")}, "in\\xFF.png"},
      {{"--all", input, dir_.file("out\xFF")}, "out\\xFF"},
      {{"--all", strayInput, dir_.file("batch")}, "in\\xFF.png"},
  };
  for (const Case& c : cases) {
    const RunResult r = RunConvertBytes(c.arguments, errFile);
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_EQ(Lines(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("not valid UTF-8"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.shown), std::string::npos) << r.err;
  }
  EXPECT_EQ(ReadBytes(input), before);
  EXPECT_EQ(count(), filesBefore);
}

TEST_F(ConvertProgramTest, PositionsAtTheEndsOfTheRange) {
  const std::string input = WritePicture("tiles.png", 300, 400);
  const std::string output = dir_.file("edge.png");
  struct Case {
    std::vector<std::string> options;
    int exitCode;
    int x, y;  // where the block lands, worked out by hand
  };
  const Case cases[] = {
      {{"--cell", "67108863,0"}, 0, 236, 0},  // pulled back: 300 - 64
      {{"--cell", "2147483647,2147483647", "--format", "roof"}, 0, 236, 336},
      {{"--origin", "2147483647,0"}, 2, 0, 0},
      {{"--origin", "0,2147483647"}, 2, 0, 0},
      {{"--origin", "0,2147483552"}, 0, 0, 2147483552},
      {{"--origin", "2147483584,-2147483648"}, 0, 2147483584, -2147483647 - 1},
  };
  for (const Case& c : cases) {
    fs::remove(output);
    std::vector<std::string> arguments = c.options;
    arguments.insert(arguments.end(), {input, output});
    const RunResult r = RunConverter(arguments);
    ASSERT_EQ(r.exitCode, c.exitCode) << c.options[1] << ": " << r.err;
    if (c.exitCode != 0) {
      EXPECT_FALSE(fs::exists(output));
      continue;
    }
    const LayoutFormat format = c.options.size() > 2 ? LayoutFormat::Roof : LayoutFormat::Terrain1;
    EXPECT_EQ(FirstDifference(ExpectedSheet(picture_, format, c.x, c.y), ReadBack(output)), "")
        << c.options[1];
  }
}

// The batch's folder: one line naming why it cannot be made, and nothing written.
TEST_F(ConvertProgramTest, BatchFolderFailuresNameTheirCause) {
  const std::string input = WritePicture("tiles.png", 64, 96);
  const std::pair<std::string, std::string> cases[] = {
      {input, "cannot create the output folder: a file of that name is in the way"},
      {input + "/sheets", "cannot create the output folder: a file of that name is in the way"},
      {dir_.file(std::string(300, 'n')), "cannot create the output folder: name too long"},
  };
  for (const auto& [folder, reason] : cases) {
    const RunResult r = RunConverter({"--all", input, folder});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "korvanth-convert: " + folder + ": " + reason + "\n");
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1);
}

}  // namespace
