// A batch, and an atlas run with its tilesets, killed with SIGKILL at many points of their
// runs: no output is ever half written, an atlas's outputs are all old, all new or absent,
// and no temporary file is left.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

pid_t StartBatch(const std::string& input, const std::string& folder) {
  const pid_t child = fork();
  if (child == 0) {
    dup2(open("/dev/null", O_WRONLY), 2);
    execl(KORVANTH_CONVERT_EXE, KORVANTH_CONVERT_EXE, "--all", "--type", "bmp", input.c_str(),
          folder.c_str(), nullptr);
    _exit(127);
  }
  return child;
}

// Whether the batch ran to its end (true) or was killed.
bool Finish(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Temporaries in the folder; sheets of another size than a whole one fail the test.
int Temporaries(const fs::path& folder, std::uintmax_t sheetSize) {
  int temporaries = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    temporaries += name.starts_with(".korvanth-");
    if (name.ends_with(".bmp")) {
      EXPECT_EQ(entry.file_size(), sheetSize) << name;
    }
  }
  return temporaries;
}

TEST(KilledSaves, LeaveNoTemporaryBehind) {
  ScratchDir dir;
  const std::string input = dir.file("ground.png");
  ASSERT_TRUE(PatternImage(640, 960).save(QString::fromStdString(input), "PNG"));
  const fs::path folder = dir.path() / "sheets";  // 10 x 10 blocks: 100 sheets
  // The shortest of three whole runs: a first run slowed by a cold cache or a busy machine
  // would put every kill after the batch's end.
  auto whole = std::chrono::steady_clock::duration::max();
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Finish(StartBatch(input, folder.string())));
    whole = std::min(whole, std::chrono::steady_clock::now() - start);
  }
  const std::uintmax_t sheetSize = fs::file_size(folder / "ground_0_0.bmp");

  constexpr int kKills = 30;
  int killed = 0;
  int temporariesLeft = 0;  // by the kills themselves, before any later save
  for (int kill = 0; kill < kKills; ++kill) {
    if (kill % 2 == 0) fs::remove_all(folder);  // new sheets, then replaced ones
    const pid_t child = StartBatch(input, folder.string());
    std::this_thread::sleep_for(whole * (kill + 0.5) / kKills);
    ::kill(child, SIGKILL);
    killed += !Finish(child);
    if (fs::exists(folder)) temporariesLeft += Temporaries(folder, sheetSize);
  }
  EXPECT_GE(killed, kKills / 2) << "the batches ended before their kill";
  // Named only between linking a replacement in and renaming it over the old sheet.
  RecordProperty("temporaries_left_by_kills", temporariesLeft);

  ASSERT_TRUE(Finish(StartBatch(input, folder.string())));
  EXPECT_EQ(Temporaries(folder, sheetSize), 0);
}

pid_t StartAtlas(const std::string& input, const std::string& output) {
  const pid_t child = fork();
  if (child == 0) {
    dup2(open("/dev/null", O_WRONLY), 2);
    execl(KORVANTH_CONVERT_EXE, KORVANTH_CONVERT_EXE, "--all", "--atlas", "--tileset", "both",
          input.c_str(), output.c_str(), nullptr);
    _exit(127);
  }
  return child;
}

// The files of an atlas run that are there, by name, with their bytes. A temporary may be
// left only by a kill in the instant between naming a finished replacement and renaming it
// over the old file: it must then hold the whole of one of `finished`'s files (an empty
// map allows none). Temporaries are counted.
std::map<std::string, std::string> AtlasOutputs(
    const fs::path& folder, int& temporaries,
    const std::map<std::string, std::string>& finished = {}) {
  std::map<std::string, std::string> outputs;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(".korvanth-")) {
      ++temporaries;
      const std::string bytes = ReadBytes(entry.path().string());
      if (std::none_of(finished.begin(), finished.end(),
                       [&](const auto& file) { return file.second == bytes; }))
        ADD_FAILURE() << "a temporary is left that is no finished output: " << name;
    } else if (name.starts_with("atlas.")) {
      outputs[name] = ReadBytes(entry.path().string());
    }
  }
  return outputs;
}

// Waits until the run `child` holds a file in `folder` open (an output it stages, nameless
// or not); false if it has not after `patience`.
bool WaitForStaging(pid_t child, const fs::path& folder,
                    std::chrono::steady_clock::duration patience) {
  const std::string inFolder = fs::canonical(folder).string() + "/";
  const fs::path descriptors = "/proc/" + std::to_string(child) + "/fd";
  const auto end = std::chrono::steady_clock::now() + patience;
  while (std::chrono::steady_clock::now() < end) {
    std::error_code error;
    for (fs::directory_iterator it(descriptors, error), last; !error && it != last;
         it.increment(error)) {
      std::error_code gone;  // closed meanwhile
      if (fs::read_symlink(it->path(), gone).string().starts_with(inFolder)) return true;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return false;
}

TEST(KilledSaves, AnAtlasRunLeavesAllOldAllNewOrNoOutputsAndNoTemporaryPastTheNextRun) {
  ScratchDir dir;
  // Two pictures of different sizes, so that each of the three outputs tells whose it is.
  const std::string pictures[] = {dir.file("wide.png"), dir.file("narrow.png")};
  ASSERT_TRUE(PatternImage(896, 1344).save(QString::fromStdString(pictures[0]), "PNG"));
  ASSERT_TRUE(PatternImage(832, 1344).save(QString::fromStdString(pictures[1]), "PNG"));
  const fs::path folder = dir.path() / "out";
  fs::create_directory(folder);
  const std::string output = (folder / "atlas.png").string();
  int temporaries = 0;
  std::map<std::string, std::string> whole[2];
  auto longest = std::chrono::steady_clock::duration::zero();
  for (int picture = 0; picture < 2; ++picture) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Finish(StartAtlas(pictures[picture], output)));
    longest = std::max(longest, std::chrono::steady_clock::now() - start);
    whole[picture] = AtlasOutputs(folder, temporaries);
    ASSERT_EQ(whole[picture].size(), 3u);
  }
  ASSERT_NE(whole[0], whole[1]);

  // Half the kills spread over the whole run; the other half from the moment the run opens
  // its first output (staging, then the commits) on, 3 ms apart. Every third run starts
  // with no outputs, the others replace the other picture's.
  constexpr int kKills = 20;
  int killed = 0;
  int staged = 0;
  std::map<std::string, std::string> before = whole[1];
  for (int kill = 0; kill < kKills; ++kill) {
    if (kill % 3 == 0) {
      for (const auto& [name, bytes] : before) fs::remove(folder / name);
      before.clear();
    }
    const int picture = kill % 2;
    const pid_t child = StartAtlas(pictures[picture], output);
    const int step = kill / 2 / 2 * 2 + kill % 2;  // 0 to 9 within each half
    if ((kill / 2) % 2 == 0) {
      std::this_thread::sleep_for(longest * (step + 0.5) / (kKills / 2));
    } else if (WaitForStaging(child, folder, 2 * longest)) {
      ++staged;
      std::this_thread::sleep_for(std::chrono::milliseconds(3 * step));
    }
    ::kill(child, SIGKILL);
    killed += !Finish(child);
    const std::map<std::string, std::string> after =
        AtlasOutputs(folder, temporaries, whole[picture]);
    EXPECT_TRUE(after == before || after == whole[picture])
        << "kill " << kill << ": " << after.size() << " outputs, neither the old nor the new";
    before = after;
  }
  EXPECT_EQ(staged, kKills / 2) << "runs not seen staging";
  EXPECT_GE(killed, kKills / 2) << "the runs ended before their kill";
  // The next run into the folder removes whatever temporary the kills left.
  ASSERT_TRUE(Finish(StartAtlas(pictures[0], output)));
  int remaining = 0;
  EXPECT_EQ(AtlasOutputs(folder, remaining), whole[0]);
  EXPECT_EQ(remaining, 0);
}

}  // namespace
