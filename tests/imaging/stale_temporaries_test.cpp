// A save removes the temporaries that saves of ended processes left in its folder, and
// nothing else.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "imaging/imaging_helpers.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

// The id of a process that has ended and been reaped.
pid_t EndedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

TEST(StaleTemporaries, ASaveRemovesThoseOfEndedProcessesOnly) {
  ScratchDir dir;
  const std::string dead = std::to_string(EndedProcess());
  const std::string live = std::to_string(getppid());
  const struct {
    std::string name;
    bool kept;
  } files[] = {
      {".korvanth-" + dead + "-0.tmp", false}, {".korvanth-" + dead + "-4294967295.tmp", false},
      {".korvanth-" + live + "-0.tmp", true},  {".korvanth-" + dead + "-0.tmp.png", true},
      {".korvanth-" + dead + "-0.TMP", true},  {".korvanth-" + dead + ".tmp", true},
      {".korvanth-" + dead + "-x.tmp", true},  {".korvanth--0.tmp", true},
      {".korvanth-99999999999-0.tmp", true},   {"korvanth-" + dead + "-0.tmp", true},
      {"~korvanth-" + dead + "-0.tmp", true},  {"sheet.png", true},
  };
  for (const auto& file : files) WriteBytes(dir.file(file.name), "x");
  // A folder and a link carrying a stale name are not files a save wrote.
  fs::create_directory(dir.path() / (".korvanth-" + dead + "-1.tmp"));
  fs::create_symlink("sheet.png", dir.path() / (".korvanth-" + dead + "-2.tmp"));

  korvanth::ImageHandle sheet = BitmapFrom(PatternImage(8, 8));
  ASSERT_EQ(SaveAs(sheet, dir.file("sheet.png"), u"image/png"), Ok);

  for (const auto& file : files)
    EXPECT_EQ(fs::exists(dir.path() / file.name), file.kept) << file.name;
  EXPECT_TRUE(fs::is_directory(dir.path() / (".korvanth-" + dead + "-1.tmp")));
  EXPECT_TRUE(fs::is_symlink(dir.path() / (".korvanth-" + dead + "-2.tmp")));
  EXPECT_EQ(ReadBytes(dir.file(".korvanth-" + live + "-0.tmp")), "x");
}

}  // namespace
