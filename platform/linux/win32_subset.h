// Off Windows: the part of USER32, GDI32 and SHELL32 that Korvanth calls, with the
// windows.h names, signatures and values, implemented over Qt Widgets. Only what the
// program relies on is here; see window_internals.h for the test hooks.
#pragma once

#include "api/linux/win_base.h"
#include "platform/linux/win32_messages.h"

struct HRGN__;
typedef HRGN__* HRGN;
typedef WORD ATOM;
typedef POINT* LPPOINT;

// Window styles (only the ones the program or its tests name).
#define WS_OVERLAPPED 0x00000000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_THICKFRAME 0x00040000L
#define WS_SYSMENU 0x00080000L
#define WS_HSCROLL 0x00100000L
#define WS_VSCROLL 0x00200000L
#define WS_CAPTION 0x00C00000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_VISIBLE 0x10000000L
#define WS_OVERLAPPEDWINDOW \
  (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_EX_ACCEPTFILES 0x00000010L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_NOACTIVATE 0x08000000L
#define WS_EX_CLIENTEDGE 0x00000200L
#define CW_USEDEFAULT (static_cast<int>(0x80000000))

// ShowWindow commands.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

// WM_SIZE kinds, mouse-key flags.
#define SIZE_RESTORED 0
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010

// Virtual keys (only the ones the program names).
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_NUMPAD0 0x60
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_OEM_PLUS 0xBB
#define VK_OEM_MINUS 0xBD

// Stock resources.
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define COLOR_WINDOW 5
#define COLOR_BTNFACE 15

// Scroll bars.
#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

// ScrollWindowEx flags and region kinds.
#define SW_SCROLLCHILDREN 0x0001
#define SW_INVALIDATE 0x0002
#define SW_ERASE 0x0004
#define NULLREGION 1
#define SIMPLEREGION 2

// Menus.
#define MF_STRING 0x00000000L
#define MF_BYCOMMAND 0x00000000L
#define MF_UNCHECKED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_CHECKED 0x00000008L
#define MF_POPUP 0x00000010L
#define MFT_RADIOCHECK 0x00000200L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L

// SetWindowPos flags (the z-order is never changed here).
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOACTIVATE 0x0010

// System metrics and parameters (only the ones the program asks for).
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SPI_GETWORKAREA 0x0030

struct WINDOWPLACEMENT {
  UINT length;
  UINT flags;
  UINT showCmd;
  POINT ptMinPosition;
  POINT ptMaxPosition;
  RECT rcNormalPosition;
};

struct WNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};

struct CREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
typedef MSG* LPMSG;

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};

struct SCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
};
typedef SCROLLINFO* LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

// Off Windows there are no resource files. LoadIconA(the program's module, id) gives the
// icon registered here: the one named themeName in the desktop's icon theme, or, where the
// theme has none, the pictures in the Qt resource folder fallbackFolder (one file per size).
void RegisterLinuxIconResource(WORD id, const char* themeName, const char* fallbackFolder);

// Window classes and windows.
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);
HMODULE GetModuleHandleA(LPCSTR moduleName);
// The program's own file (module null or the program's handle), as Windows gives it: cut to
// size - 1 bytes and a zero when it does not fit, and then the result is size.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
BOOL DestroyWindow(HWND window);
BOOL ShowWindow(HWND window, int command);
// Moves and resizes a main window's outer frame (as CreateWindowExA takes its rectangle);
// the z-order and activation stay as they are.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL GetClientRect(HWND window, LPRECT rect);
BOOL GetWindowRect(HWND window, LPRECT rect);
// rcNormalPosition is the window's rectangle as CreateWindowExA takes it, in its restored
// state (also while maximized); showCmd is SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED or SW_SHOWNORMAL.
BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement);
BOOL ScreenToClient(HWND window, LPPOINT point);
BOOL SetWindowTextA(HWND window, LPCSTR text);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HGDIOBJ GetStockObject(int object);

// The primary screen's area not taken by the desktop's panels (SPI_GETWORKAREA into a RECT),
// and the standard scroll bars' thickness (SM_CXVSCROLL, SM_CYHSCROLL; 0 for other indices).
BOOL SystemParametersInfoA(UINT action, UINT param, LPVOID value, UINT winIni);
int GetSystemMetrics(int index);

// Messages.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);

// Keyboard: the state of a key as of the message being handled (negative while down).
SHORT GetKeyState(int virtualKey);

// Focus.
HWND GetFocus();

// Painting.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
int ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip,
                   HRGN updateRegion, LPRECT updateRect, UINT flags);

// Standard scroll bars (SB_HORZ, SB_VERT).
int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);

// Menus.
HMENU GetMenu(HWND window);
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
// Sets or clears one item's check mark (MF_CHECKED / MF_UNCHECKED, with MF_BYCOMMAND or
// MF_BYPOSITION); the previous mark, or (DWORD)-1 when there is no such item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
// Menus built item by item. A popup appended with MF_POPUP (its HMENU as the id) belongs
// to the menu it is appended to from then on and goes when that menu is destroyed.
HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text);
// Shows another menu bar (null: none). The one it replaces is the caller's to destroy.
BOOL SetMenu(HWND window, HMENU menu);
BOOL DestroyMenu(HMENU menu);
BOOL DrawMenuBar(HWND window);

// Files dropped from the shell.
UINT DragQueryFileA(HDROP drop, UINT index, LPSTR file, UINT size);
void DragFinish(HDROP drop);

// Process entry: the program defines WinMain; the runtime's argument vector.
int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);
extern int __argc;
extern char** __argv;

#include "platform/linux/win32_controls.h"

#if __has_include("platform/linux/win32_dialogs.h")
#include "platform/linux/win32_dialogs.h"
#endif
