// The menu described once as lines, from the format registry, tile sizes and tileset targets.
#include "app/main_menu.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

#include "app/recent_pictures.h"

namespace korvanth {

namespace {

// In the format registry's order; each format's command follows the one before.
constexpr FormatMenuItem kFormatItems[] = {
    {LayoutFormat::Terrain1, IDM_FORMAT_TERRAIN1, {"地形1(&L)", "Terrain &1"}},
    {LayoutFormat::Terrain2, IDM_FORMAT_TERRAIN2, {"地形2(&A)", "Terrain &2"}},
    {LayoutFormat::Roof, IDM_FORMAT_ROOF, {"屋根(&R)", "&Roof"}},
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

// In UiLanguage's order; each language's item in its own language, whatever the menu's.
constexpr LanguageMenuItem kLanguageItems[] = {
    {UiLanguage::Japanese, IDM_LANGUAGE_JAPANESE, "日本語(&J)"},
    {UiLanguage::English, IDM_LANGUAGE_ENGLISH, "&English"},
};

constexpr bool LanguageItemsAreConsecutive() {
  for (std::size_t i = 0; i < std::size(kLanguageItems); ++i)
    if (static_cast<std::size_t>(kLanguageItems[i].language) != i ||
        kLanguageItems[i].command != IDM_LANGUAGE_JAPANESE + i)
      return false;
  return true;
}
static_assert(LanguageItemsAreConsecutive());

constexpr UiText kZoomCaptions[] = {{"等倍(&1)\tCtrl+0", "&1x\tCtrl+0"},
                                    {"2倍(&2)", "&2x"},
                                    {"3倍(&3)", "&3x"},
                                    {"4倍(&4)", "&4x"},
                                    {"5倍(&5)", "&5x"},
                                    {"6倍(&6)", "&6x"},
                                    {"7倍(&7)", "&7x"},
                                    {"8倍(&8)", "&8x"}};
static_assert(std::size(kZoomCaptions) == IDM_VIEW_ZOOM8 - IDM_VIEW_ZOOM1 + 1);

}  // namespace

std::vector<MenuLine> MainMenuLines(UiLanguage language,
                                    std::span<const std::string> recentPictures) {
  const auto in = [language](const UiText& text) {
    return std::string(InLanguage(text, language));
  };
  std::vector<MenuLine> menu = {
      {0, MF_POPUP, 0, in({"ﾌｧｲﾙ(&F)", "&File"})},
      {1, MF_STRING, IDM_FILE_OPEN, in({"開く(&O)...\tCtrl+O", "&Open...\tCtrl+O"})},
      {1, MF_STRING, IDM_FILE_EXPORT_ALL,
       in({"ピクチャ全体を書き出す(&A)...", "Export the Whole Picture as an &Atlas..."})},
      {1, MF_SEPARATOR, 0, {}},
      {1, MF_STRING, IDM_FILE_EXIT, in({"ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)\tCtrl+Q", "E&xit\tCtrl+Q"})},
      // English gives the two F menus different mnemonics.
      {0, MF_POPUP, 0, in({"形式(&F)", "F&ormat"})},
  };
  // 最近使ったファイル follows 開く.
  const std::vector<MenuLine> recent = RecentPictureMenuLines(1, language, recentPictures);
  const auto open = std::find_if(
      menu.begin(), menu.end(), [](const MenuLine& line) { return line.command == IDM_FILE_OPEN; });
  menu.insert(open + 1, recent.begin(), recent.end());
  for (const FormatMenuItem& item : kFormatItems)
    menu.push_back({1, MF_STRING, item.command, in(item.caption)});
  menu.push_back({1, MF_SEPARATOR, 0, {}});
  menu.push_back({1, MF_STRING, IDM_FORMAT_COMPLETE,
                  in({"全形状を追加(&C)", "&Complete the Terrain Shapes"})});
  menu.push_back({1, MF_POPUP, 0, in({"タイルサイズ", "Tile Si&ze"})});
  for (const TileSizeMenuItem& item : kTileSizeItems)
    menu.push_back({2, MF_STRING, item.command, item.caption});
  menu.push_back({1, MF_SEPARATOR, 0, {}});
  for (const TilesetTarget& target : kTilesetTargets)
    menu.push_back({1, MF_STRING, TilesetCommand(target),
                    in({target.menuCaption, target.menuCaptionEnglish})});
  menu.push_back({1, MF_SEPARATOR, 0, {}});
  menu.push_back({1, MF_STRING, IDM_FORMAT_BLOCK_MAP,
                  in({"ブロックマップを編集(&M)", "Edit the Block &Map"})});
  menu.push_back({0, MF_POPUP, 0, in({"色(&C)", "&Colours"})});
  menu.push_back({1, MF_STRING, IDM_COLOUR_FRAME, in({"枠(&F)...", "&Frame..."})});
  menu.push_back({1, MF_STRING, IDM_COLOUR_BACKGROUND, in({"背景(&B)...", "&Background..."})});
  menu.push_back({0, MF_POPUP, 0, in({"表示(&V)", "&View"})});
  for (UINT step = 0; step < std::size(kZoomCaptions); ++step)
    menu.push_back({1, MF_STRING, IDM_VIEW_ZOOM1 + step, in(kZoomCaptions[step])});
  menu.push_back({1, MF_SEPARATOR, 0, {}});
  menu.push_back(
      {1, MF_STRING, IDM_VIEW_PREVIEW, in({"シートのプレビュー(&P)", "Sheet &Preview"})});
  menu.push_back({1, MF_STRING, IDM_VIEW_STATUS_BAR, in({"ステータス バー(&S)", "&Status Bar"})});
  menu.push_back({0, MF_POPUP, 0, in({"言語(&L)", "&Language"})});
  for (const LanguageMenuItem& item : kLanguageItems)
    menu.push_back({1, MF_STRING, item.command, item.caption});
  return menu;
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

std::span<const LanguageMenuItem> LanguageMenuItems() { return kLanguageItems; }

const LanguageMenuItem& LanguageMenuItemFor(UiLanguage language) {
  const auto index = static_cast<std::size_t>(language);
  return index < std::size(kLanguageItems) ? kLanguageItems[index] : kLanguageItems[0];
}

const LanguageMenuItem* LanguageMenuItemForCommand(UINT command) {
  for (const LanguageMenuItem& item : kLanguageItems)
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
