// Writing a text file whole or not at all: new and replaced files, causes of failure,
// and no temporary file left behind either way.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "convert/sheet_tilesets.h"
#include "convert/text_file.h"
#include "support/test_files.h"

using namespace korvanth;

namespace fs = std::filesystem;

namespace {

size_t Entries(const fs::path& folder) {
  return static_cast<size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(TextFileTest, WritesAndReplacesWhole) {
  ScratchDir dir;
  const std::string path = dir.file("a.tsx");
  ASSERT_TRUE(korvanth::WriteTextFileWhole(path, "first").ok());
  EXPECT_EQ(ReadBytes(path), "first");
  ASSERT_TRUE(korvanth::WriteTextFileWhole(path, "second, longer").ok());
  EXPECT_EQ(ReadBytes(path), "second, longer");
  ASSERT_TRUE(korvanth::WriteTextFileWhole(path, "").ok());
  EXPECT_EQ(ReadBytes(path), "");
  EXPECT_EQ(Entries(dir.path()), 1u);
  // A new file gets the usual permissions, not the temporary file's private ones.
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

TEST(TextFileTest, ReadingSaysWhyAFileIsNotRead) {
  ScratchDir dir;
  fs::create_directory(dir.path() / "folder.conf");
  WriteBytes(dir.file("full.conf"), std::string(1u << 20, 'a'));
  WriteBytes(dir.file("over.conf"), std::string((1u << 20) + 1, 'a'));
  struct Case {
    std::string name;
    std::string problem;  // empty: read whole
  };
  for (const Case& c : {Case{"missing.conf", "no such file"}, Case{"folder.conf", "is a folder"},
                        Case{"over.conf", "larger than 1 MiB"}, Case{"full.conf", ""}}) {
    std::string text = "stale";
    EXPECT_EQ(ReadSmallTextFile(dir.file(c.name), 1u << 20, text).english, c.problem) << c.name;
    EXPECT_EQ(text.size(), c.problem.empty() ? 1u << 20 : 0u) << c.name;
  }
}

TEST(TextFileTest, FailuresNameTheirCauseAndLeaveNothing) {
  ScratchDir dir;
  fs::create_directory(dir.path() / "folder.tsx");
  struct Case {
    std::string path;
    korvanth::SaveProblem problem;
  };
  const Case cases[] = {
      {dir.file("folder.tsx"), korvanth::SaveProblem::IsFolder},
      {dir.file("missing/a.tsx"), korvanth::SaveProblem::FolderMissing},
      {dir.file(std::string(300, 'n') + ".tsx"), korvanth::SaveProblem::NameTooLong},
  };
  for (const Case& c : cases) {
    const korvanth::SaveOutcome outcome = korvanth::WriteTextFileWhole(c.path, "text");
    EXPECT_EQ(outcome.problem, c.problem) << c.path;
  }
  EXPECT_EQ(Entries(dir.path()), 1u);
  EXPECT_TRUE(fs::is_directory(dir.path() / "folder.tsx"));
}

// The longest name the folder takes (255 bytes) is written too: the temporary file's own
// name does not grow with the target's.
TEST(TextFileTest, TheLongestNameIsWrittenAndReplaced) {
  ScratchDir dir;
  const std::string path = dir.file(std::string(251, 'n') + ".tsx");
  ASSERT_TRUE(korvanth::WriteTextFileWhole(path, "first").ok());
  ASSERT_TRUE(korvanth::WriteTextFileWhole(path, "second").ok());
  EXPECT_EQ(ReadBytes(path), "second");
  EXPECT_EQ(Entries(dir.path()), 1u);
  const korvanth::SaveOutcome refused =
      korvanth::WriteTextFileWhole(dir.file("name\xFF.tsx"), "text");
  EXPECT_FALSE(refused.ok());
  EXPECT_EQ(Entries(dir.path()), 1u);
}

TEST(TextFileTest, AFolderThatTakesNoNewFilesKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "privileges write into any folder";
  ScratchDir dir;
  const std::string path = dir.file("kept.tsx");
  ASSERT_TRUE(korvanth::WriteTextFileWhole(path, "old").ok());
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  const korvanth::SaveOutcome outcome = korvanth::WriteTextFileWhole(path, "new");
  fs::permissions(dir.path(), fs::perms::owner_all);
  EXPECT_EQ(outcome.problem, korvanth::SaveProblem::PermissionDenied);
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(Entries(dir.path()), 1u);
}

}  // namespace
