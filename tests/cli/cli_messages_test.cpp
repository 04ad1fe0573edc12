// What korvanth-convert says about names and arguments it cannot use: the words a user
// reads, each on one line, and the exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

TEST(ConvertMessages, TellWhatIsWrongOnOneLine) {
  ScratchDir dir;
  const std::string input = dir.file("tiles.png");
  ASSERT_TRUE(PatternImage(64, 96).save(QString::fromStdString(input), "PNG"));
  const std::string folder = dir.path().string() + "/";
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    std::string said;  // a part of the first line, written out by hand
  };
  const Case cases[] = {
      // Control characters in names are shown escaped.
      {{folder + "a\nb\x1B[2J.png", folder + "o.png"}, 1, "/a\\x0Ab\\x1B[2J.png: "},
      {{input, folder + "no\r/x\xC2\x85.png"}, 1, "/no\\x0D/x\\xC2\\x85.png: cannot write: the"},
      {{"--all", input, folder + "s\t"}, 0, "1 of 1 sheets written to " + folder + "s\\x09\n"},
      {{"--frobnicate\n", input, "o.png"}, 2, "unknown option --frobnicate\\x0A\n"},
      // Where the output cannot go.
      {{input, input + "/x.png"}, 1, "tiles.png/x.png: cannot write: a file is in the way of its"},
      {{input, input + "/more/x.png"}, 1, "cannot write: a file is in the way of its folder"},
      {{input, folder + "sheets/"}, 2, "sheets/: the output name ends in '/', so it names a fol"},
      {{"--all", input, ""}, 2, "OUTDIR is empty; name a folder (. for the current one)"},
      // The extension is the file name's own, never a folder's.
      {{input, folder + "out.d/sheet"}, 2, "out.d/sheet: the output name needs an extension"},
      {{"--all", "--atlas", input, folder + "out.d/a"}, 2, "out.d/a: the output name needs an"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    const ProgramRun r = RunConverter(c.arguments);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_EQ(r.err.rfind("korvanth-convert: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.substr(0, r.err.find('\n') + 1).find(c.said), std::string::npos) << r.err;
    // One line of its own (a usage error may point to --help after it), and no control
    // character but the line ends.
    const std::string rest = r.err.substr(r.err.find('\n') + 1);
    EXPECT_TRUE(rest.empty() || rest == "Try 'korvanth-convert --help'.\n") << r.err;
    EXPECT_TRUE(std::none_of(r.err.begin(), r.err.end(), [](char ch) {
      return ch != '\n' && (ch & 0xE0) == 0;
    })) << r.err;
  }
  // Nothing was written where the names could not go.
  EXPECT_FALSE(fs::exists(dir.path() / "sheets"));
  EXPECT_FALSE(fs::exists(dir.path() / "o.png"));
  EXPECT_TRUE(fs::exists(dir.path() / "s\t" / "tiles_0_0.png"));
}

}  // namespace
