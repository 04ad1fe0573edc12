#include "app/format_commands.h"

#include "app/main_menu.h"
#include "app/menu_resource.h"
#include "app/sheet_preview.h"
#include "app/window_state.h"
#include "viewer/canvas.h"

namespace korvanth {

namespace {

// The format items carry consecutive identifiers, in registry order.
void CheckFormatItem(HWND window, UINT item) {
  const auto formats = FormatMenuItems();
  CheckMenuRadioItem(GetMenu(window), formats.front().command, formats.back().command, item,
                     MF_BYCOMMAND);
}

void CheckTileSizeItem(HWND window) {
  const TileSizeMenuItem* item = TileSizeMenuItemFor(MainWindowState.tileSize);
  const auto sizes = TileSizeMenuItems();
  if (item != nullptr)
    CheckMenuRadioItem(GetMenu(window), sizes.front().command, sizes.back().command, item->command,
                       MF_BYCOMMAND);
}

void CheckItem(HWND window, UINT command, bool checked) {
  CheckMenuItem(GetMenu(window), command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// A 形式 menu item: its format becomes the current one. False for other commands.
bool ChooseFormat(HWND window, WORD command) {
  const FormatMenuItem* item = FormatMenuItemForCommand(command);
  if (item == nullptr) return false;
  CurrentLayoutFormat = item->format;
  CheckFormatItem(window, command);
  RefreshSheetPreview();
  return true;
}

// A tile size item: the grid and the block take the new size at once. The pointer's cell
// becomes the one that holds the old cell's corner, so the block stays where it was.
bool ChooseTileSize(HWND window, WORD command) {
  const TileSizeMenuItem* item = TileSizeMenuItemForCommand(command);
  if (item == nullptr) return false;
  MainWindowState.tileSize = item->tileSize;
  ResizeViewCell(MainWindowState.view, item->tileSize);
  CheckTileSizeItem(window);
  InvalidateRect(window, nullptr, FALSE);
  RefreshSheetPreview();
  return true;
}

bool ToggleComplete(HWND window, WORD command) {
  if (command != IDM_FORMAT_COMPLETE) return false;
  MainWindowState.complete = !MainWindowState.complete;
  CheckItem(window, command, MainWindowState.complete);
  RefreshSheetPreview();
  return true;
}

// A tileset item: its kind of tileset turns on or off for the sheets saved from now on.
// False for other commands.
bool ToggleTileset(HWND window, WORD command) {
  const TilesetTarget* target = TilesetTargetForCommand(command);
  if (target == nullptr) return false;
  const TilesetKinds kind = TilesetKindOf(*target);
  SheetTilesets = TilesetKinds(SheetTilesets ^ kind);
  CheckItem(window, command, (SheetTilesets & kind) != 0);
  return true;
}

}  // namespace

void CheckFormatMenu(HWND window) {
  CheckFormatItem(window, FormatMenuItemFor(CurrentLayoutFormat).command);
  CheckTileSizeItem(window);
  CheckItem(window, IDM_FORMAT_COMPLETE, MainWindowState.complete);
  for (const TilesetTarget& target : kTilesetTargets)
    CheckItem(window, TilesetCommand(target), (SheetTilesets & TilesetKindOf(target)) != 0);
}

bool RunFormatCommand(HWND window, WORD command) {
  return ChooseFormat(window, command) || ChooseTileSize(window, command) ||
         ToggleComplete(window, command) || ToggleTileset(window, command);
}

void ResetFormatSettings() {
  CurrentLayoutFormat = LayoutFormat::Terrain1;
  MainWindowState.tileSize = kTileSize;
  MainWindowState.view.cell = kTileSize;
  MainWindowState.complete = false;
  SheetTilesets = kNoTilesets;
}

}  // namespace korvanth
