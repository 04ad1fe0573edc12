// Staged files: complete beside their targets, which stay as they were until Commit; a
// staged file dropped uncommitted leaves nothing behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/staged_file.h"
#include "support/test_files.h"

using namespace korvanth;

namespace fs = std::filesystem;

namespace {

std::size_t EntriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(StagedFileTest, TargetChangesOnlyOnCommitAndAnAbandonedStageLeavesNothing) {
  ScratchDir dir;
  WriteBytes(dir.file("a.txt"), "old");
  const std::vector<std::uint8_t> bytes = {'n', 'e', 'w'};
  {
    StagedFile staged;
    ASSERT_EQ(staged.Stage(reinterpret_cast<const WCHAR*>(Wide(dir.file("a.txt")).c_str()), bytes),
              SaveProblem::None);
    EXPECT_EQ(ReadBytes(dir.file("a.txt")), "old");
    EXPECT_EQ(EntriesIn(dir.path()), 2u);  // the target and the staged temporary
  }
  EXPECT_EQ(ReadBytes(dir.file("a.txt")), "old");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);

  StagedFile first, second;
  ASSERT_EQ(first.Stage(reinterpret_cast<const WCHAR*>(Wide(dir.file("a.txt")).c_str()), bytes),
            SaveProblem::None);
  ASSERT_EQ(second.Stage(reinterpret_cast<const WCHAR*>(Wide(dir.file("b.txt")).c_str()), bytes),
            SaveProblem::None);
  EXPECT_FALSE(fs::exists(dir.file("b.txt")));
  EXPECT_EQ(first.Commit(), SaveProblem::None);
  EXPECT_EQ(second.Commit(), SaveProblem::None);
  EXPECT_EQ(ReadBytes(dir.file("a.txt")), "new");
  EXPECT_EQ(ReadBytes(dir.file("b.txt")), "new");
  EXPECT_EQ(EntriesIn(dir.path()), 2u);
  // A folder in the way is refused at once.
  fs::create_directory(dir.path() / "c.txt");
  StagedFile blocked;
  EXPECT_EQ(blocked.Stage(reinterpret_cast<const WCHAR*>(Wide(dir.file("c.txt")).c_str()), bytes),
            SaveProblem::IsFolder);
}

}  // namespace
