// The view menu and its keys: zoom steps with radio marks, Ctrl+wheel around the
// pointer, Ctrl++ / Ctrl+- / Ctrl+0, and showing or hiding the sheet preview.
#pragma once

#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

// Moves the zoom's radio mark to the current zoom.
void CheckZoomItem(const WindowState& state, HWND window);

// Zooms around `anchor` (client pixels) and moves the radio mark.
void ZoomAround(WindowState& state, HWND window, int zoom, POINT anchor);

// WM_MOUSEWHEEL: with the Ctrl key down, one zoom step per wheel notch around the
// pointer; finer wheels' parts of a notch add up. False when the message is not a zoom
// (it then goes to default processing).
bool ZoomByWheel(WindowState& state, HWND window, WPARAM wParam, LPARAM lParam);

// WM_KEYDOWN: Ctrl++ zooms in, Ctrl+- out, Ctrl+0 back to 1x, around the middle of the
// client area, then scrolls as little as keeps the block in sight (as the view menu's
// steps do). False for any other key.
bool ZoomByKey(WindowState& state, HWND window, WPARAM key);

// The view menu's commands; false for any other id.
bool RunViewCommand(WindowState& state, HWND window, WORD command);

}  // namespace korvanth
