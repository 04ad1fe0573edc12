// The main window's class, its window procedure (where the one window state is reached and
// handed on) and the message loop.
#pragma once

#include "app/first_window_size.h"
#include "app/window_state.h"
#include "platform/win32_api.h"

namespace korvanth {

inline constexpr char kMainWindowClass[] = "KorvanthClass";
inline constexpr char kMainWindowTitle[] = "Korvanth";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Slot 0 is the frame colour, slot 1 the background. True when the user confirmed.
bool ChooseViewColour(WindowState& state, HWND owner, int slot);

// Registers the class and creates the visible main window with its menu in the state's
// language (which the thread's dialogs then speak), at the remembered size or else at the
// first size for the picture it opens (argument 1, else the remembered picture); the
// window's creation starts GDI+ and opens that picture. Null when it cannot be created.
HWND CreateMainWindow(HINSTANCE instance);

// Runs the message loop until the quit message; returns its code.
int RunMessageLoop();

}  // namespace korvanth
