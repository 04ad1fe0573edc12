// The block from the keyboard: the arrow keys move it by a cell (with Shift by a block)
// and scroll it into sight; Enter does what a click on it does.
#pragma once

#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

// WM_KEYDOWN: false for any other key (or with Ctrl held). Without a picture the keys
// are taken and do nothing.
bool RunSelectionKey(WindowState& state, HWND window, WPARAM key);

}  // namespace korvanth
