// The one description both hosts build the menu from: the 形式 popup lists the registry's
// formats, the complete-shapes item and the tile size submenu, then the tileset targets
// and the block-map mode;
// every command is one item's and leads back to it.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/main_menu.h"
#include "convert/format_registry.h"

using namespace korvanth;

namespace {

// The lines below the popup captioned `caption`, its submenus' included.
std::vector<MenuLine> PopupItems(const std::string& caption) {
  std::vector<MenuLine> items;
  bool inside = false;
  for (const MenuLine& line : MainMenuLines(UiLanguage::Japanese)) {
    if (line.depth == 0)
      inside = caption == line.caption;
    else if (inside)
      items.push_back(line);
  }
  return items;
}

TEST(MainMenuTest, FormatPopupListsTheFormatsShapesAndSizesThenTheTilesetTargetsAndTheMapMode) {
  const std::vector<MenuLine> items = PopupItems("形式(&F)");
  const auto formats = FormatRegistry();
  constexpr int kSizes[] = {16, 24, 32, 48, 64};
  const std::size_t tilesets = formats.size() + 4 + std::size(kSizes);
  ASSERT_EQ(items.size(), tilesets + std::size(kTilesetTargets) + 2);
  for (std::size_t i = 0; i < formats.size(); ++i) {
    const FormatMenuItem* item = FormatMenuItemForCommand(items[i].command);
    ASSERT_NE(item, nullptr) << i;
    EXPECT_EQ(item->format, formats[i].format);
    EXPECT_EQ(items[i].caption, item->caption.japanese);
    EXPECT_EQ(&FormatMenuItemFor(formats[i].format), item);
    // The radio group spans first to last: the commands run on without a gap.
    EXPECT_EQ(items[i].command, items[0].command + i);
  }
  EXPECT_EQ(items[formats.size()].flags, UINT{MF_SEPARATOR});
  EXPECT_EQ(items[formats.size() + 1].command, UINT{IDM_FORMAT_COMPLETE});
  EXPECT_EQ(items[formats.size() + 1].caption, "全形状を追加(&C)");
  const MenuLine& sizes = items[formats.size() + 2];
  EXPECT_EQ(sizes.flags, UINT{MF_POPUP});
  EXPECT_EQ(sizes.caption, "タイルサイズ");
  for (std::size_t i = 0; i < std::size(kSizes); ++i) {
    const MenuLine& line = items[formats.size() + 3 + i];
    EXPECT_EQ(line.depth, 2);
    EXPECT_EQ(line.caption, std::to_string(kSizes[i]));
    const TileSizeMenuItem* item = TileSizeMenuItemForCommand(line.command);
    ASSERT_NE(item, nullptr) << i;
    EXPECT_EQ(item->tileSize, kSizes[i]);
    EXPECT_EQ(TileSizeMenuItemFor(kSizes[i]), item);
    EXPECT_EQ(line.command, items[formats.size() + 3].command + i);  // one radio group
  }
  EXPECT_EQ(items[tilesets - 1].flags, UINT{MF_SEPARATOR});
  for (std::size_t i = 0; i < std::size(kTilesetTargets); ++i) {
    const MenuLine& line = items[tilesets + i];
    EXPECT_EQ(TilesetTargetForCommand(line.command), &kTilesetTargets[i]);
    EXPECT_EQ(line.caption, kTilesetTargets[i].menuCaption);
  }
  EXPECT_EQ(items[items.size() - 2].flags, UINT{MF_SEPARATOR});
  EXPECT_EQ(items.back().command, UINT{IDM_FORMAT_BLOCK_MAP});
  EXPECT_EQ(items.back().caption, "ブロックマップを編集(&M)");
}

TEST(MainMenuTest, FilePopupExportsTheWholePictureBetweenOpenAndExitWithTheirKeys) {
  const std::vector<MenuLine> items = PopupItems("ﾌｧｲﾙ(&F)");
  ASSERT_EQ(items.size(), 6u);
  EXPECT_EQ(items[0].command, UINT{IDM_FILE_OPEN});
  EXPECT_EQ(items[0].caption, "開く(&O)...\tCtrl+O");  // the key after a tab, as 表示 shows it
  // The recent pictures' submenu, empty at a first start.
  EXPECT_EQ(items[1].flags, UINT{MF_POPUP});
  EXPECT_EQ(items[1].caption, "最近使ったファイル(&R)");
  EXPECT_EQ(items[2].depth, 2);
  EXPECT_EQ(items[2].flags, UINT{MF_STRING | MF_GRAYED});
  EXPECT_EQ(items[2].caption, "(なし)");
  EXPECT_EQ(items[3].command, UINT{IDM_FILE_EXPORT_ALL});
  EXPECT_EQ(items[3].caption, "ピクチャ全体を書き出す(&A)...");
  EXPECT_EQ(items[4].flags, UINT{MF_SEPARATOR});
  EXPECT_EQ(items[5].command, UINT{IDM_FILE_EXIT});
  EXPECT_EQ(items[5].caption, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)\tCtrl+Q");
}

TEST(MainMenuTest, EveryCommandBelongsToOneItem) {
  std::set<UINT> commands;
  for (const MenuLine& line : MainMenuLines(UiLanguage::Japanese)) {
    if (line.flags == UINT{MF_STRING}) {
      EXPECT_NE(line.command, 0u) << line.caption;
      EXPECT_TRUE(commands.insert(line.command).second) << line.caption;
    }
    EXPECT_EQ(line.caption.empty(), line.flags == UINT{MF_SEPARATOR});
  }
  for (UINT other : {0u, UINT{IDM_FILE_OPEN}, UINT{IDM_VIEW_PREVIEW}}) {
    EXPECT_EQ(FormatMenuItemForCommand(other), nullptr) << other;
    EXPECT_EQ(TilesetTargetForCommand(other), nullptr) << other;
    EXPECT_EQ(TileSizeMenuItemForCommand(other), nullptr) << other;
  }
}

}  // namespace
