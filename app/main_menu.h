// The main window's menu, described once: both hosts build their menu from this list, the
// formats' items from the format registry, the tile size submenu from its own table, the
// tileset items from the tileset targets and the language items from their own table.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "app/menu_resource.h"
#include "app/ui_text.h"
#include "convert/layout_format.h"
#include "convert/tileset_targets.h"
#include "platform/win32_api.h"

namespace korvanth {

// One line of the menu: depth 0 is an entry of the menu bar (a popup), depth 1 an item of
// the popup above it, depth 2 an item of a submenu (a depth-1 popup). flags is MF_POPUP,
// MF_STRING or MF_SEPARATOR; captions are UTF-8 with '&' before the mnemonic, empty for a
// separator.
struct MenuLine {
  int depth;
  UINT flags;
  UINT command;
  std::string caption;
};

// The whole menu in one language, the recent pictures (newest first) in the ファイル menu.
std::vector<MenuLine> MainMenuLines(UiLanguage language,
                                    std::span<const std::string> recentPictures = {});

// The 形式 menu's item of a layout format.
struct FormatMenuItem {
  LayoutFormat format;
  UINT command;
  UiText caption;
};

std::span<const FormatMenuItem> FormatMenuItems();
const FormatMenuItem& FormatMenuItemFor(LayoutFormat format);
// Null for a command that is no format item.
const FormatMenuItem* FormatMenuItemForCommand(UINT command);

// The タイルサイズ submenu's radio item of a tile size.
struct TileSizeMenuItem {
  int tileSize;
  UINT command;
  const char* caption;
};

std::span<const TileSizeMenuItem> TileSizeMenuItems();
// Null for a size or a command that has no item.
const TileSizeMenuItem* TileSizeMenuItemFor(int tileSize);
const TileSizeMenuItem* TileSizeMenuItemForCommand(UINT command);

// The 言語 menu's radio item of a language.
struct LanguageMenuItem {
  UiLanguage language;
  UINT command;
  const char* caption;  // in its own language, in both menus
};

std::span<const LanguageMenuItem> LanguageMenuItems();
const LanguageMenuItem& LanguageMenuItemFor(UiLanguage language);
// Null for a command that is no language item.
const LanguageMenuItem* LanguageMenuItemForCommand(UINT command);

// The check item of a tileset target, and the target of a command (null for none).
UINT TilesetCommand(const TilesetTarget& target);
const TilesetTarget* TilesetTargetForCommand(UINT command);

}  // namespace korvanth
