// The rule that keeps a picture from being written over: names of one file, however spelt.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "convert/same_file.h"
#include "support/test_files.h"

using korvanth::AbsoluteName;
using korvanth::IsSameFile;

namespace fs = std::filesystem;

namespace {

TEST(SameFileTest, EverySpellingOfOneFileAndNothingElse) {
  ScratchDir dir;
  const std::string picture = dir.file("tiles.png");
  WriteBytes(picture, "picture");
  WriteBytes(dir.file("other.png"), "picture");
  fs::create_directory(dir.path() / "sub");
  fs::create_symlink(picture, dir.path() / "link.png");
  fs::create_hard_link(picture, dir.path() / "hard.png");
  const std::string relative = fs::relative(picture).string();
  ASSERT_FALSE(fs::path(relative).is_absolute());

  struct Case {
    std::string name;
    bool same;
  };
  const Case cases[] = {
      {picture, true},
      {relative, true},
      {"./" + relative, true},
      {dir.file("sub/../tiles.png"), true},
      {dir.file("link.png"), true},
      {dir.file("hard.png"), true},
      {dir.file("other.png"), false},  // same bytes, another file
      {dir.file("missing.png"), false},
      {dir.path().string(), false},
      {"", false},
      {dir.file("tiles\xFF.png"), false},  // not valid UTF-8
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSameFile(picture, c.name), c.same) << c.name;
    EXPECT_EQ(IsSameFile(c.name, picture), c.same) << c.name;
  }
}

TEST(SameFileTest, AbsoluteNameKeepsNamingTheFileAfterTheFolderChanges) {
  ScratchDir dir;
  WriteBytes(dir.file("tiles.png"), "picture");
  fs::create_directory(dir.path() / "sub");
  const fs::path before = fs::current_path();
  fs::current_path(dir.path());
  const std::string absolute = AbsoluteName("tiles.png");
  fs::current_path(dir.path() / "sub");
  const bool same = IsSameFile(absolute, dir.file("tiles.png"));
  const bool relativeStillSame = IsSameFile("tiles.png", dir.file("tiles.png"));
  fs::current_path(before);
  EXPECT_TRUE(fs::path(absolute).is_absolute()) << absolute;
  EXPECT_TRUE(same);
  EXPECT_FALSE(relativeStillSame);
  EXPECT_EQ(AbsoluteName("x\xFF.png"), "x\xFF.png");
}

}  // namespace
