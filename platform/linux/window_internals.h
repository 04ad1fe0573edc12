// Off Windows: what the window half of the Win32 subset offers the dialog half and
// the tests, beyond the Win32 names themselves.
//
// For the dialog half:
// - Call korvanth::platform::NotifyFocusReturned(owner) after a modal dialog owned by a window
//   has closed. The owner then receives WM_SETFOCUS exactly as on Windows, whatever
//   Qt's own activation events did meanwhile.
// - SendMessageA and GetFocus live here (window_registry.cpp): SendMessageA
//   dispatches through HWND__::send for every HWND, yours included, so do not define
//   it again. Register your dialog HWNDs with RegisterForeignWindow (and unregister
//   them before they go) so that GetFocus, WindowForWidget and IsForeign know them.
#pragma once

#include <QAction>
#include <QImage>
#include <QScrollBar>
#include <QWidget>

#include "platform/linux/window_object.h"
#include "platform/linux/win32_subset.h"

namespace korvanth::platform {

// The process entry found no display to show windows on: Qt runs offscreen, so that a run
// that shows none (--help) still works, and CreateWindowExA fails with a warning.
void StartWithoutDisplay();

// After a modal dialog owned by `window` closed: the window takes the focus back and
// gets WM_SETFOCUS. Does nothing for a null or destroyed window.
void NotifyFocusReturned(HWND window);

// HWNDs made outside the window half (dialogs) that GetFocus should know; IsForeign is
// true for one registered now.
void RegisterForeignWindow(HWND window);
void UnregisterForeignWindow(HWND window);
bool IsForeign(HWND window);

// Queues a message for GetMessageA and wakes the loop.
void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Test hooks.
// The client area's back buffer after any pending paint has run (a null image for a
// window that is not ours or is destroyed).
QImage ClientPixels(HWND window);
// The menu-bar action of the command `id`, or null.
QAction* MenuAction(HWND window, UINT id);
// The Qt widgets of a main window: the client area and the standard bars (SB_HORZ,
// SB_VERT); null when the window is not ours or is destroyed.
QWidget* ClientWidgetOf(HWND window);
QScrollBar* StandardScrollBar(HWND window, int bar);
// Deletes the Qt widgets of destroyed windows now (the message loop does it itself).
void FlushDestroyedWindows();

}  // namespace korvanth::platform
