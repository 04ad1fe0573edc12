// The rules behind the window's feedback, each in one case table: the recent pictures'
// order and limit, when a changed file is read again, and the status bar's save texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/picture_watch.h"
#include "app/recent_pictures.h"
#include "app/status_text.h"

using namespace korvanth;

namespace {

TEST(RecentPicturesTest, TheOpenedPictureGoesFirstOnceAndEightStay) {
  using List = std::vector<std::string>;
  const List eight = {"a", "b", "c", "d", "e", "f", "g", "h"};
  struct Case {
    List recent;
    std::string opened;
    List expected;
  } cases[] = {
      {{}, "a", {"a"}},
      {{"a"}, "a", {"a"}},
      {{"a", "b", "c"}, "c", {"c", "a", "b"}},
      {eight, "i", {"i", "a", "b", "c", "d", "e", "f", "g"}},
      {eight, "e", {"e", "a", "b", "c", "d", "f", "g", "h"}},
      {eight, "h", {"h", "a", "b", "c", "d", "e", "f", "g"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WithRecentPicture(c.recent, c.opened), c.expected) << c.opened;
}

TEST(RecentPicturesTest, ItemsAreNumberedAndTheirAmpersandsAreText) {
  const std::vector<std::string> recent = {"/p/a&b.png", "/p/c.png"};
  const std::vector<MenuLine> lines = RecentPictureMenuLines(1, UiLanguage::English, recent);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].caption, "Recent &Files");
  EXPECT_EQ(lines[1].caption, "&1 /p/a&&b.png");
  EXPECT_EQ(lines[1].command, 40100u);
  EXPECT_EQ(lines[2].caption, "&2 /p/c.png");
  EXPECT_EQ(lines[2].command, 40101u);
  EXPECT_EQ(lines[2].depth, 2);
}

// Stamps: A is the file as it was read; B and C are later states of it.
TEST(PictureWatchTest, AChangeIsReadOnceItHasBeenSeenTwiceInARow) {
  const FileStamp a{true, 100, 1}, b{true, 180, 2}, c{true, 250, 3}, gone{};
  struct Case {
    const char* what;
    std::vector<FileStamp> looks;
    std::vector<WatchStep> expected;
  };
  using enum WatchStep;
  const Case cases[] = {
      {"unchanged", {a, a, a}, {Wait, Wait, Wait}},
      {"changed and settled", {b, b, b}, {Wait, Reload, Wait}},
      {"written in steps", {b, c, c, c}, {Wait, Wait, Reload, Wait}},
      {"changed back before it settled", {b, a, b}, {Wait, Wait, Wait}},
      {"deleted, then written", {gone, gone, b, b}, {Wait, Wait, Wait, Reload}},
      {"changed again after a reload", {b, b, c, c}, {Wait, Reload, Wait, Reload}},
  };
  for (const Case& c : cases) {
    PictureWatch watch{a, std::nullopt};
    std::vector<WatchStep> steps;
    for (const FileStamp& look : c.looks) steps.push_back(LookAtPicture(watch, look));
    EXPECT_EQ(steps, c.expected) << c.what;
  }
}

TEST(StatusTextTest, SavesNameTheSheetAndCountTheirTilesets) {
  struct Case {
    std::size_t tilesets;
    UiLanguage language;
    const char* expected;
  } cases[] = {
      {0, UiLanguage::Japanese, "保存しました: /p/s.png"},
      {2, UiLanguage::Japanese, "保存しました: /p/s.png（タイルセット 2 個）"},
      {0, UiLanguage::English, "saved /p/s.png"},
      {1, UiLanguage::English, "saved /p/s.png (and 1 tileset)"},
      {2, UiLanguage::English, "saved /p/s.png (and 2 tilesets)"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SavedStatusText("/p/s.png", c.tilesets, c.language), c.expected);
  // A name that would break the line is written as escapes.
  EXPECT_EQ(SavedStatusText("/p/a\nb.png", 0, UiLanguage::English), "saved /p/a\\x0Ab.png");
}

}  // namespace
