#pragma once

#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

// Replaces the loaded picture by the one in the file at `path` (UTF-8 off Windows, the
// ANSI code page on Windows), sets the scroll ranges and has the window repainted. A
// path that names no readable picture keeps the picture that was open (or none) and
// shows a message box naming the file and the cause in the converter's words. The
// picture's block map is read with a new picture (block_map_mode.h).
void LoadSourceImage(WindowState& state, HWND window, const char* path);

}  // namespace korvanth
