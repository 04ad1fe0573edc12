// The one description both hosts build the menu from: the 形式 popup lists the registry's
// formats, then the tileset targets; every command is one item's and leads back to it.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/main_menu.h"
#include "convert/format_registry.h"

using namespace korvanth;

namespace {

// The depth-1 lines below the popup captioned `caption`.
std::vector<MenuLine> PopupItems(const std::string& caption) {
  std::vector<MenuLine> items;
  bool inside = false;
  for (const MenuLine& line : MainMenuLines()) {
    if (line.depth == 0)
      inside = caption == line.caption;
    else if (inside)
      items.push_back(line);
  }
  return items;
}

TEST(MainMenuTest, FormatPopupListsTheFormatsThenTheTilesetTargets) {
  const std::vector<MenuLine> items = PopupItems("形式(&F)");
  const auto formats = FormatRegistry();
  ASSERT_EQ(items.size(), formats.size() + 1 + std::size(kTilesetTargets));
  for (std::size_t i = 0; i < formats.size(); ++i) {
    const FormatMenuItem* item = FormatMenuItemForCommand(items[i].command);
    ASSERT_NE(item, nullptr) << i;
    EXPECT_EQ(item->format, formats[i].format);
    EXPECT_STREQ(items[i].caption, item->caption);
    EXPECT_EQ(&FormatMenuItemFor(formats[i].format), item);
    // The radio group spans first to last: the commands run on without a gap.
    EXPECT_EQ(items[i].command, items[0].command + i);
  }
  EXPECT_EQ(items[formats.size()].flags, UINT{MF_SEPARATOR});
  for (std::size_t i = 0; i < std::size(kTilesetTargets); ++i) {
    const MenuLine& line = items[formats.size() + 1 + i];
    EXPECT_EQ(TilesetTargetForCommand(line.command), &kTilesetTargets[i]);
    EXPECT_STREQ(line.caption, kTilesetTargets[i].menuCaption);
  }
}

TEST(MainMenuTest, EveryCommandBelongsToOneItem) {
  std::set<UINT> commands;
  for (const MenuLine& line : MainMenuLines()) {
    if (line.flags == UINT{MF_STRING}) {
      EXPECT_NE(line.command, 0u) << line.caption;
      EXPECT_TRUE(commands.insert(line.command).second) << line.caption;
    }
    EXPECT_EQ(line.caption == nullptr, line.flags == UINT{MF_SEPARATOR});
  }
  for (UINT other : {0u, UINT{IDM_FILE_OPEN}, UINT{IDM_VIEW_PREVIEW}}) {
    EXPECT_EQ(FormatMenuItemForCommand(other), nullptr) << other;
    EXPECT_EQ(TilesetTargetForCommand(other), nullptr) << other;
  }
}

}  // namespace
