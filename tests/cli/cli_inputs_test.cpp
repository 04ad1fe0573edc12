// Every file korvanth-convert reads is an input: only a regular file is read (a FIFO, a
// socket, a device or a folder is refused at once by what it is, never waited on), a
// names file's text is checked line by line, and no output is ever written over an input,
// however the two names are spelt.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

// A listening-free UNIX socket bound at `path`; the descriptor stays open for the test.
int BindSocket(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (fd < 0 || path.size() >= sizeof address.sun_path) return -1;
  path.copy(address.sun_path, path.size());
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return -1;
  return fd;
}

class ConvertInputsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // 3 x 1 terrain1 blocks at tile size 16.
    input_ = dir_.file("tiles.png");
    ASSERT_TRUE(PatternImage(96, 48).save(QString::fromStdString(input_), "PNG"));
  }
  void TearDown() override {
    if (socket_ >= 0) ::close(socket_);
  }
  std::string Socket(const std::string& name) {
    socket_ = BindSocket(dir_.file(name));
    EXPECT_GE(socket_, 0);
    return dir_.file(name);
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
  int socket_ = -1;
};

TEST_F(ConvertInputsTest, NonRegularAndHostileInputsAreOneLineRefusals) {
  ASSERT_EQ(::mkfifo(dir_.file("fifo").c_str(), 0600), 0);
  fs::create_symlink("fifo", dir_.path() / "to-fifo");  // judged by what the link leads to
  const std::string socket = Socket("socket");
  fs::create_directory(dir_.path() / "folder");
  // A device of our own (a copy of /dev/zero's node) where the test may make one.
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::mknod(dir_.file("zero").c_str(), S_IFCHR | 0600, makedev(1, 5)), 0);
  }
  WriteBytes(dir_.file("bom.txt"), "\xEF\xBB\xBFgrass\n\ngrass\n");
  WriteBytes(dir_.file("bom-ok.txt"), "\xEF\xBB\xBFgrass\nsand\n");
  WriteBytes(dir_.file("nul.txt"), std::string("grass\nsa\0nd\n", 12));
  WriteBytes(dir_.file("utf8.txt"), "grass\nsand\nwat\xC3\x28r\n");
  WriteBytes(dir_.file("tab.txt"), "grass\tsand\n");
  WriteBytes(dir_.file("late.txt"), "grass\n\n\n\x01\n");

  struct Case {
    std::string picture;
    std::string names;  // empty: none
    int exitCode;
    std::string said;  // a part of the one line
    bool needsRoot = false;
  };
  const std::string nonRegular = "not a regular file";
  const std::string names = ": cannot read the names: ";
  const Case cases[] = {
      {dir_.file("fifo"), "", 1, "fifo: " + nonRegular},
      {dir_.file("to-fifo"), "", 1, "to-fifo: " + nonRegular},
      {socket, "", 1, "socket: " + nonRegular},
      {"/dev/zero", "", 1, "/dev/zero: " + nonRegular},
      {dir_.file("zero"), "", 1, "zero: " + nonRegular, true},
      {input_, dir_.file("fifo"), 1, "fifo" + names + "is " + nonRegular},
      {input_, socket, 1, "socket" + names + "is " + nonRegular},
      {input_, dir_.file("folder"), 1, "folder" + names + "is a folder"},
      {input_, "/dev/zero", 1, "/dev/zero" + names + "is " + nonRegular},
      {input_, "/dev/urandom", 1, "/dev/urandom" + names + "is " + nonRegular},
      {input_, dir_.file("zero"), 1, "zero" + names + "is " + nonRegular, true},
      // The byte-order mark is not part of the first name: the repeat is seen.
      {input_, dir_.file("bom.txt"), 2, "the name 'grass' is given to two blocks (lines 1 and 3)"},
      {input_, dir_.file("bom-ok.txt"), 0, "3 blocks into"},
      {input_, dir_.file("nul.txt"), 2, "line 2 is not UTF-8 text without control characters"},
      {input_, dir_.file("utf8.txt"), 2, "line 3 is not UTF-8 text without control characters"},
      {input_, dir_.file("tab.txt"), 2, "line 1 is not UTF-8 text without control characters"},
      {input_, dir_.file("late.txt"), 2, "line 4 is not UTF-8 text without control characters"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    if (c.needsRoot && !root) continue;  // only the superuser makes device nodes
    const std::vector<std::string> more =
        c.names.empty() ? std::vector<std::string>{"--tileset", "godot"}
                        : std::vector<std::string>{"--tileset", "godot", "--names", c.names};
    const ProgramRun r = RunConverter(Atlas(more, c.picture, dir_.file("atlas.png")));
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    EXPECT_EQ(fs::exists(dir_.path() / "atlas.png"), c.exitCode == 0);
    fs::remove(dir_.path() / "atlas.png");
    fs::remove(dir_.path() / "atlas.tres");
  }
  // Nothing read was turned into something else.
  EXPECT_TRUE(fs::is_fifo(dir_.path() / "fifo"));
  EXPECT_TRUE(fs::is_socket(socket));
  if (root) {
    EXPECT_TRUE(fs::is_character_file(dir_.path() / "zero"));
  }
}

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
