// The 形式 menu's commands: the format radio items, the complete-shapes check item, the
// tile size submenu and the tileset check items, with their marks.
#pragma once

#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

// Puts the marks on the items of the current settings (a new window's menu), tilesets included.
void CheckFormatMenu(const WindowState& state, HWND window);

// Runs a 形式 menu command; false for any other command.
bool RunFormatCommand(WindowState& state, HWND window, WORD command);

// Back to the settings a new run starts with (the window is closing).
void ResetFormatSettings(WindowState& state);

}  // namespace korvanth
