// The 形式 menu's commands: choosing format, tile size, complete shapes and tilesets, with marks.
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

void CheckTileSizeItem(const WindowState& state, HWND window) {
  const TileSizeMenuItem* item = TileSizeMenuItemFor(state.tileSize);
  const auto sizes = TileSizeMenuItems();
  if (item != nullptr)
    CheckMenuRadioItem(GetMenu(window), sizes.front().command, sizes.back().command, item->command,
                       MF_BYCOMMAND);
}

void CheckItem(HWND window, UINT command, bool checked) {
  CheckMenuItem(GetMenu(window), command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// The block took another size: the canvas draws its outline again at once (a move of the
// pointer repaints only when it enters another cell) and the preview follows.
void ShowBlockChange(WindowState& state, HWND window) {
  InvalidateRect(window, nullptr, FALSE);
  RefreshSheetPreview(state);
}

// A 形式 menu item: its format becomes the current one. False for other commands.
bool ChooseFormat(WindowState& state, HWND window, WORD command) {
  const FormatMenuItem* item = FormatMenuItemForCommand(command);
  if (item == nullptr) return false;
  state.format = item->format;
  CheckFormatItem(window, command);
  ShowBlockChange(state, window);
  return true;
}

// A tile size item: the grid and the block take the new size at once. The pointer's cell
// becomes the one that holds the old cell's corner, so the block stays where it was.
bool ChooseTileSize(WindowState& state, HWND window, WORD command) {
  const TileSizeMenuItem* item = TileSizeMenuItemForCommand(command);
  if (item == nullptr) return false;
  state.tileSize = item->tileSize;
  ResizeViewCell(state.view, item->tileSize);
  CheckTileSizeItem(state, window);
  ShowBlockChange(state, window);
  return true;
}

bool ToggleComplete(WindowState& state, HWND window, WORD command) {
  if (command != IDM_FORMAT_COMPLETE) return false;
  state.complete = !state.complete;
  CheckItem(window, command, state.complete);
  RefreshSheetPreview(state);
  return true;
}

// A tileset item: its kind of tileset turns on or off for the sheets saved from now on.
// False for other commands.
bool ToggleTileset(WindowState& state, HWND window, WORD command) {
  const TilesetTarget* target = TilesetTargetForCommand(command);
  if (target == nullptr) return false;
  const TilesetKinds kind = TilesetKindOf(*target);
  state.tilesets = TilesetKinds(state.tilesets ^ kind);
  CheckItem(window, command, (state.tilesets & kind) != 0);
  return true;
}

}  // namespace

void CheckFormatMenu(const WindowState& state, HWND window) {
  CheckFormatItem(window, FormatMenuItemFor(state.format).command);
  CheckTileSizeItem(state, window);
  CheckItem(window, IDM_FORMAT_COMPLETE, state.complete);
  for (const TilesetTarget& target : kTilesetTargets)
    CheckItem(window, TilesetCommand(target), (state.tilesets & TilesetKindOf(target)) != 0);
}

bool RunFormatCommand(WindowState& state, HWND window, WORD command) {
  return ChooseFormat(state, window, command) || ChooseTileSize(state, window, command) ||
         ToggleComplete(state, window, command) || ToggleTileset(state, window, command);
}

void ResetFormatSettings(WindowState& state) {
  state.format = LayoutFormat::Terrain1;
  state.tileSize = kTileSize;
  state.view.cell = kTileSize;
  state.complete = false;
  state.tilesets = kNoTilesets;
}

}  // namespace korvanth
