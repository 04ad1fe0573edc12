// The main window: its class, its state, its commands and its message handling.
#pragma once

#include "convert/sheet_tilesets.h"
#include "platform/win32_api.h"

namespace korvanth {

inline constexpr char kMainWindowClass[] = "KorvanthClass";
inline constexpr char kMainWindowTitle[] = "Korvanth";
inline constexpr int kInitialClientSize = 513;

// Whether the next left-button release starts a save.
extern bool ClickArmed;
// The map editors' tilesets every saved sheet also gets; none at start.
extern TilesetKinds SheetTilesets;
// The colour dialog's 16 custom colours, shared by both colour commands.
extern COLORREF CustomColours[16];
// The program's arguments; the first showing of the window opens argument 1.
extern int ArgumentCount;
extern char** ArgumentVector;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Slot 0 is the frame colour, slot 1 the background. True when the user confirmed.
bool ChooseViewColour(HWND owner, int slot);

// Registers the class and creates the visible main window with menu 101 and a
// 513 x 513 client area; the window's creation starts GDI+ and opens argument 1.
HWND CreateMainWindow(HINSTANCE instance);

// Runs the message loop until the quit message; returns its code.
int RunMessageLoop();

}  // namespace korvanth
