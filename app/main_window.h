// The main window: its class, its state, its commands and its message handling.
#pragma once

#include "app/window_state.h"
#include "platform/win32_api.h"

namespace korvanth {

inline constexpr char kMainWindowClass[] = "KorvanthClass";
inline constexpr char kMainWindowTitle[] = "Korvanth";
inline constexpr int kInitialClientSize = 513;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Slot 0 is the frame colour, slot 1 the background. True when the user confirmed.
bool ChooseViewColour(HWND owner, int slot);

// Registers the class and creates the visible main window with menu 101 and a
// 513 x 513 client area; the window's creation starts GDI+ and opens argument 1.
HWND CreateMainWindow(HINSTANCE instance);

// Runs the message loop until the quit message; returns its code.
int RunMessageLoop();

}  // namespace korvanth
