// korvanth-convert --watch as a child process: pictures saved the ways editors save them,
// the sheets rebuilt from them, a damaged save survived, and the ends by SIGTERM and SIGINT.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "cli/watched_folders.h"
#include "support/expected_sheet.h"
#include "support/test_files.h"

using namespace korvanth;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kPatience = std::chrono::seconds(8);

class WatchingConverter {
 public:
  WatchingConverter(std::vector<std::string> arguments, std::string errFile)
      : errFile_(std::move(errFile)) {
    arguments.insert(arguments.begin(), {KORVANTH_CONVERT_EXE, "--watch"});
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      signal(SIGINT, SIG_DFL);  // as from a terminal, even when the tests run in the background
      dup2(open(errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
      execv(argv[0], argv.data());
      _exit(127);
    }
  }
  ~WatchingConverter() {
    if (pid_ > 0) Stop(SIGKILL);
  }

  std::string Err() const { return ReadBytes(errFile_); }

  // Lines of standard error that match `pattern` whole.
  int Count(const std::string& pattern) const {
    const std::string err = Err();
    const std::regex line("^" + pattern + "$", std::regex::multiline);
    return static_cast<int>(
        std::distance(std::sregex_iterator(err.begin(), err.end(), line), std::sregex_iterator()));
  }

  // Sends `signal` and returns the exit status, -1 when it did not exit by itself in time.
  int Stop(int signal) {
    kill(pid_, signal);
    int status = 0;
    const auto until = Clock::now() + kPatience;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (Clock::now() > until) kill(pid_, SIGKILL);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  std::string errFile_;
  pid_t pid_ = -1;
};

// Polls until `done` holds; how long that took, or nothing after kPatience.
std::optional<Clock::duration> Await(const std::function<bool()>& done) {
  const auto start = Clock::now();
  while (!done()) {
    if (Clock::now() - start > kPatience) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return Clock::now() - start;
}

std::string PngBytes(const QImage& picture, const ScratchDir& dir) {
  const std::string path = dir.file("encoded.png");
  EXPECT_TRUE(picture.save(QString::fromStdString(path), "PNG"));
  std::string bytes = ReadBytes(path);
  fs::remove(path);
  return bytes;
}

// The editor's way: the whole file under another name, then renamed over the picture.
void SaveByRename(const std::string& bytes, const std::string& picture) {
  const std::string temporary = picture + ".part";
  WriteBytes(temporary, bytes);
  fs::rename(temporary, picture);
}

QImage Inverted(QImage picture) {
  picture.invertPixels(QImage::InvertRgb);
  return picture;
}

const std::string kClock = "[0-9]{2}:[0-9]{2}:[0-9]{2} ";

TEST(WatchTest, RebuildsOnEverySaveAndKeepsTheLastGoodSheetThroughADamagedOne) {
  ScratchDir dir;
  const QImage first = PatternImage(128, 192);
  const QImage second = Inverted(first);
  const std::string input = dir.file("tiles.png");
  const std::string sheet = dir.file("grass.png");  // beside the picture: its own writes
  const std::string tsx = dir.file("grass.tsx");    // must not set off rebuilds
  SaveByRename(PngBytes(first, dir), input);
  WatchingConverter converter({"--tileset", "tiled", input, sheet}, dir.file("err.txt"));
  ASSERT_TRUE(Await([&] { return converter.Count("korvanth-convert: watching .*") == 1; }))
      << converter.Err();
  EXPECT_EQ(converter.Count(kClock + "converted: " + sheet + ", " + tsx), 1);

  const std::string rebuilt = kClock + "rebuilt: " + sheet + ", " + tsx;
  SaveByRename(PngBytes(second, dir), input);
  const auto took = Await([&] { return converter.Count(rebuilt) == 1; });
  ASSERT_TRUE(took) << converter.Err();
  EXPECT_LT(*took, std::chrono::seconds(1));
  RecordProperty(
      "rebuild_ms",
      static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(*took).count()));
  EXPECT_EQ(FirstDifference(ExpectedSheet(second, LayoutFormat::Terrain1, 0, 0), ReadBack(sheet)),
            "");

  const std::string lastGood = ReadBytes(sheet);
  SaveByRename(PngBytes(first, dir).substr(0, 300), input);
  ASSERT_TRUE(Await([&] {
    return converter.Count(kClock + "korvanth-convert: " + input +
                           ": the picture is damaged or cut short") == 1;
  })) << converter.Err();
  EXPECT_EQ(ReadBytes(sheet), lastGood);

  SaveByRename(PngBytes(first, dir), input);
  ASSERT_TRUE(Await([&] { return converter.Count(rebuilt) == 2; })) << converter.Err();
  EXPECT_EQ(FirstDifference(ExpectedSheet(first, LayoutFormat::Terrain1, 0, 0), ReadBack(sheet)),
            "");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // no rebuild of its own
  EXPECT_EQ(converter.Count(kClock + ".*"), 4) << converter.Err();
  EXPECT_EQ(converter.Stop(SIGTERM), 0);
}

// A picture written in place in two parts, a pause between them: read once, whole.
TEST(WatchTest, RebuildsEveryBlockAfterAnInPlaceSaveAndEndsOnCtrlC) {
  ScratchDir dir;
  const QImage first = PatternImage(128, 192);  // 2 x 2 terrain1 blocks
  const QImage second = Inverted(first);
  const std::string input = dir.file("tiles.png");
  const fs::path out = dir.path() / "sheets";
  SaveByRename(PngBytes(first, dir), input);
  WatchingConverter converter({"--all", input, out.string()}, dir.file("err.txt"));
  const std::string written = kClock + "korvanth-convert: 4 of 4 sheets written to " + out.string();
  ASSERT_TRUE(Await([&] { return converter.Count("korvanth-convert: watching .*") == 1; }))
      << converter.Err();

  const std::string bytes = PngBytes(second, dir);
  {
    std::ofstream file(input, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), 100).flush();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    file.write(bytes.data() + 100, static_cast<std::streamsize>(bytes.size() - 100));
  }
  ASSERT_TRUE(Await([&] { return converter.Count(written) == 2; })) << converter.Err();
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 2; ++column) {
      const fs::path sheet =
          out / ("tiles_" + std::to_string(column) + "_" + std::to_string(row) + ".png");
      EXPECT_EQ(
          FirstDifference(ExpectedSheet(second, LayoutFormat::Terrain1, column * 64, row * 96),
                          ReadBack(sheet.string())),
          "")
          << sheet;
    }
  }
  EXPECT_EQ(converter.Count(kClock + ".*"), 2) << converter.Err();
  EXPECT_EQ(converter.Stop(SIGINT), 0);
}

// The names file is watched beside the picture: a new name rebuilds the atlas's tileset, and
// a FIFO put in its place is refused without stopping the watch.
TEST(WatchTest, ConvertsTheAtlasAgainWhenItsNamesChange) {
  ScratchDir dir;
  const std::string input = dir.file("tiles.png");
  const std::string names = dir.file("names.txt");
  const std::string tsx = dir.file("world.tsx");
  SaveByRename(PngBytes(PatternImage(128, 192), dir), input);
  SaveByRename("grass\n", names);
  WatchingConverter converter(
      {"--all", "--atlas", "--tileset", "tiled", "--names", names, input, dir.file("world.png")},
      dir.file("err.txt"));
  const std::string written = kClock + "korvanth-convert: 4 blocks into .*world.png, 0 empty.*";
  ASSERT_TRUE(Await([&] { return converter.Count("korvanth-convert: watching .*") == 1; }))
      << converter.Err();
  EXPECT_NE(ReadBytes(tsx).find("<wangset name=\"grass\""), std::string::npos);

  SaveByRename("sand\n", names);
  ASSERT_TRUE(Await([&] { return converter.Count(written) == 2; })) << converter.Err();
  EXPECT_NE(ReadBytes(tsx).find("<wangset name=\"sand\""), std::string::npos);

  // A FIFO in the names file's place is refused at once (never waited on) and the watch
  // goes on: the next good names file converts again.
  const std::string fifo = dir.file("names.fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  fs::rename(fifo, names);
  ASSERT_TRUE(Await([&] {
    return converter.Count(kClock + ".*names.txt: cannot read the names: is not a regular file") ==
           1;
  })) << converter.Err();
  fs::remove(names);
  SaveByRename("water\n", names);
  ASSERT_TRUE(Await([&] { return converter.Count(written) == 3; })) << converter.Err();
  EXPECT_NE(ReadBytes(tsx).find("<wangset name=\"water\""), std::string::npos);
  EXPECT_EQ(converter.Stop(SIGTERM), 0);
}

// The block map beside the picture is watched too, from before it exists: saving one
// converts by it, and a change to it converts again.
TEST(WatchTest, ConvertsTheAtlasAgainWhenItsBlockMapIsSaved) {
  ScratchDir dir;
  const std::string input = dir.file("tiles.png");
  const std::string tsx = dir.file("world.tsx");
  SaveByRename(PngBytes(PatternImage(128, 192), dir), input);
  WatchingConverter converter(
      {"--all", "--atlas", "--tileset", "tiled", input, dir.file("world.png")},
      dir.file("err.txt"));
  ASSERT_TRUE(Await([&] { return converter.Count("korvanth-convert: watching .*") == 1; }))
      << converter.Err();
  EXPECT_EQ(converter.Count(kClock + "korvanth-convert: 4 blocks into .*"), 1) << converter.Err();

  SaveByRename("0,0 roof top\n", input + ".blocks");
  ASSERT_TRUE(Await([&] {
    return converter.Count(kClock + "korvanth-convert: 1 blocks into .*") == 1;
  })) << converter.Err();
  EXPECT_EQ(ReadBytes(tsx).find("<wangset"), std::string::npos);

  SaveByRename("0,0 roof top\n0,2 terrain1 low\n", input + ".blocks");
  ASSERT_TRUE(Await([&] {
    return converter.Count(kClock + "korvanth-convert: 2 blocks into .*") == 1;
  })) << converter.Err();
  EXPECT_NE(ReadBytes(tsx).find("<wangset name=\"low\""), std::string::npos);
  EXPECT_EQ(converter.Stop(SIGTERM), 0);
}

// A map the first run cannot use is said and watched like any damaged save: saving it
// mended converts by it.
TEST(WatchTest, StartsWatchingThroughAMapWithAMistake) {
  ScratchDir dir;
  const std::string input = dir.file("tiles.png");
  SaveByRename(PngBytes(PatternImage(128, 192), dir), input);
  SaveByRename("0,0 terrain1\n", input + ".blocks");
  WatchingConverter converter({"--all", "--atlas", input, dir.file("world.png")},
                              dir.file("err.txt"));
  ASSERT_TRUE(Await([&] { return converter.Count("korvanth-convert: watching .*") == 1; }))
      << converter.Err();
  EXPECT_EQ(converter.Count(".*tiles.png.blocks: line 1: a block is COL,ROW FORMAT NAME.*"), 1)
      << converter.Err();
  SaveByRename("0,0 roof top\n", input + ".blocks");
  ASSERT_TRUE(Await([&] {
    return converter.Count(kClock + "korvanth-convert: 1 blocks into .*") == 1;
  })) << converter.Err();
  EXPECT_EQ(converter.Stop(SIGTERM), 0);
}

TEST(WatchTest, WatchesEachFileThroughItsFolder) {
  struct Case {
    std::vector<std::string> files;
    std::vector<WatchedFolder> folders;
    std::string error = "";
  };
  const Case cases[] = {
      {{"tiles.png"}, {{".", {"tiles.png"}}}},
      {{"/pics/a.png", "/pics/b.txt", "/pics/a.png", "x/a.png"},
       {{"/pics", {"a.png", "b.txt"}}, {"x", {"a.png"}}}},
      {{"a.png", "pics/"}, {}, "pics/: names a folder; --watch watches a file"},
      {{"pics/.."}, {}, "pics/..: names a folder; --watch watches a file"},
  };
  for (const Case& c : cases) {
    const WatchedFolders grouped = GroupByFolder(c.files);
    EXPECT_EQ(grouped.error, c.error) << c.files.back();
    ASSERT_EQ(grouped.folders.size(), c.folders.size()) << c.files.back();
    for (size_t i = 0; i < c.folders.size(); ++i) {
      EXPECT_EQ(grouped.folders[i].folder, c.folders[i].folder);
      EXPECT_EQ(grouped.folders[i].names, c.folders[i].names);
    }
  }
}

}  // namespace
