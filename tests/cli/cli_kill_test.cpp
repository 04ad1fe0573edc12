// A batch killed with SIGKILL at many points of its run: no sheet is ever half written, and
// no temporary file is left once a later save has gone into the same folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
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
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(Finish(StartBatch(input, folder.string())));
  const auto whole = std::chrono::steady_clock::now() - start;
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
  RecordProperty("temporaries_left_by_kills", temporariesLeft);

  ASSERT_TRUE(Finish(StartBatch(input, folder.string())));
  EXPECT_EQ(Temporaries(folder, sheetSize), 0);
}

}  // namespace
