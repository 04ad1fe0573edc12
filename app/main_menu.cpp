// The menu described once as lines, from the format registry, tile sizes and tileset targets.
#include "app/main_menu.h"

#include <cstddef>
#include <iterator>
#include <vector>

namespace korvanth {

namespace {

// In the format registry's order; each format's command follows the one before.
constexpr FormatMenuItem kFormatItems[] = {
    {LayoutFormat::Terrain1, IDM_FORMAT_TERRAIN1, "地形1(&L)"},
    {LayoutFormat::Terrain2, IDM_FORMAT_TERRAIN2, "地形2(&A)"},
    {LayoutFormat::Roof, IDM_FORMAT_ROOF, "屋根(&R)"},
};

constexpr bool FormatItemsFollowTheRegistryOrder() {
  for (std::size_t i = 0; i < std::size(kFormatItems); ++i) {
    if (static_cast<std::size_t>(kFormatItems[i].format) != i) return false;
    if (kFormatItems[i].command != IDM_FORMAT_FIRST + i) return false;
  }
  return std::size(kFormatItems) == std::size(kAllLayoutFormats) &&
         std::size(kFormatItems) <= IDM_FORMAT_LAST - IDM_FORMAT_FIRST + 1;
}
static_assert(FormatItemsFollowTheRegistryOrder());
static_assert(std::size(kTilesetTargets) <= IDM_TILESET_LAST - IDM_TILESET_FIRST + 1);

// From the smallest size up, on consecutive commands: the radio group spans first to last.
constexpr TileSizeMenuItem kTileSizeItems[] = {
    {16, IDM_TILE_SIZE_FIRST, "16"},     {24, IDM_TILE_SIZE_FIRST + 1, "24"},
    {32, IDM_TILE_SIZE_FIRST + 2, "32"}, {48, IDM_TILE_SIZE_FIRST + 3, "48"},
    {64, IDM_TILE_SIZE_FIRST + 4, "64"},
};

constexpr bool TileSizeItemsAreConsecutiveTileSizes() {
  for (std::size_t i = 0; i < std::size(kTileSizeItems); ++i) {
    if (!IsTileSize(kTileSizeItems[i].tileSize)) return false;
    if (kTileSizeItems[i].command != IDM_TILE_SIZE_FIRST + i) return false;
  }
  return std::size(kTileSizeItems) <= IDM_TILE_SIZE_LAST - IDM_TILE_SIZE_FIRST + 1;
}
static_assert(TileSizeItemsAreConsecutiveTileSizes());

constexpr const char* kZoomCaptions[] = {"等倍(&1)\tCtrl+0", "2倍(&2)", "3倍(&3)", "4倍(&4)",
                                         "5倍(&5)",          "6倍(&6)", "7倍(&7)", "8倍(&8)"};
static_assert(std::size(kZoomCaptions) == IDM_VIEW_ZOOM8 - IDM_VIEW_ZOOM1 + 1);

std::vector<MenuLine> DescribeMainMenu() {
  std::vector<MenuLine> menu = {
      {0, MF_POPUP, 0, "ﾌｧｲﾙ(&F)"},
      {1, MF_STRING, IDM_FILE_OPEN, "開く(&O)...\tCtrl+O"},
      {1, MF_STRING, IDM_FILE_EXPORT_ALL, "ピクチャ全体を書き出す(&A)..."},
      {1, MF_SEPARATOR, 0, nullptr},
      {1, MF_STRING, IDM_FILE_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)\tCtrl+Q"},
      {0, MF_POPUP, 0, "形式(&F)"},
  };
  for (const FormatMenuItem& item : kFormatItems)
    menu.push_back({1, MF_STRING, item.command, item.caption});
  menu.push_back({1, MF_SEPARATOR, 0, nullptr});
  menu.push_back({1, MF_STRING, IDM_FORMAT_COMPLETE, "全形状を追加(&C)"});
  menu.push_back({1, MF_POPUP, 0, "タイルサイズ"});
  for (const TileSizeMenuItem& item : kTileSizeItems)
    menu.push_back({2, MF_STRING, item.command, item.caption});
  menu.push_back({1, MF_SEPARATOR, 0, nullptr});
  for (const TilesetTarget& target : kTilesetTargets)
    menu.push_back({1, MF_STRING, TilesetCommand(target), target.menuCaption});
  menu.push_back({0, MF_POPUP, 0, "色(&C)"});
  menu.push_back({1, MF_STRING, IDM_COLOUR_FRAME, "枠(&F)..."});
  menu.push_back({1, MF_STRING, IDM_COLOUR_BACKGROUND, "背景(&B)..."});
  menu.push_back({0, MF_POPUP, 0, "表示(&V)"});
  for (UINT step = 0; step < std::size(kZoomCaptions); ++step)
    menu.push_back({1, MF_STRING, IDM_VIEW_ZOOM1 + step, kZoomCaptions[step]});
  menu.push_back({1, MF_SEPARATOR, 0, nullptr});
  menu.push_back({1, MF_STRING, IDM_VIEW_PREVIEW, "シートのプレビュー(&P)"});
  return menu;
}

}  // namespace

std::span<const MenuLine> MainMenuLines() {
  static const std::vector<MenuLine> kLines = DescribeMainMenu();
  return kLines;
}

std::span<const FormatMenuItem> FormatMenuItems() { return kFormatItems; }

const FormatMenuItem& FormatMenuItemFor(LayoutFormat format) {
  const auto index = static_cast<std::size_t>(format);
  return index < std::size(kFormatItems) ? kFormatItems[index] : kFormatItems[0];
}

const FormatMenuItem* FormatMenuItemForCommand(UINT command) {
  for (const FormatMenuItem& item : kFormatItems)
    if (item.command == command) return &item;
  return nullptr;
}

std::span<const TileSizeMenuItem> TileSizeMenuItems() { return kTileSizeItems; }

const TileSizeMenuItem* TileSizeMenuItemFor(int tileSize) {
  for (const TileSizeMenuItem& item : kTileSizeItems)
    if (item.tileSize == tileSize) return &item;
  return nullptr;
}

const TileSizeMenuItem* TileSizeMenuItemForCommand(UINT command) {
  for (const TileSizeMenuItem& item : kTileSizeItems)
    if (item.command == command) return &item;
  return nullptr;
}

UINT TilesetCommand(const TilesetTarget& target) {
  return IDM_TILESET_FIRST + static_cast<UINT>(&target - kTilesetTargets);
}

const TilesetTarget* TilesetTargetForCommand(UINT command) {
  for (const TilesetTarget& target : kTilesetTargets)
    if (TilesetCommand(target) == command) return &target;
  return nullptr;
}

}  // namespace korvanth
