// Off Windows: the common control of the Win32 subset (comctl32's status bar), the child
// windows it lives in and USER32's timers, with the Windows names, signatures and values.
// Texts of the W calls are UTF-16, as WCHAR is here.
#pragma once

#include "platform/linux/win32_messages.h"

// Child windows: a control placed in its parent's client area.
#define WS_CHILD 0x40000000L

// Timers: WM_TIMER carries the timer's id in wParam and its TIMERPROC (here always null)
// in lParam.
#define WM_TIMER 0x0113
#define USER_TIMER_MINIMUM 0x0000000A
#define USER_TIMER_MAXIMUM 0x7FFFFFFF
typedef VOID (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

// Starts (or, for an id the window has already, restarts) a timer of `window` that sends
// it WM_TIMER every `elapse` milliseconds (or calls `timerProc`) while the thread runs its
// message loop or a modal dialog's; 0 for a window that is not there. Only window timers:
// a null window is refused.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerProc);
// Stops the timer; FALSE when the window has no timer of that id. A window's timers stop
// when it is destroyed.
BOOL KillTimer(HWND window, UINT_PTR id);

// The status bar: one line of parts along the bottom of its parent's client area, as
// wide as the client area; it places itself there whenever it gets WM_SIZE.
#define STATUSCLASSNAMEW u"msctls_statusbar32"
#define SBARS_SIZEGRIP 0x0100
#define SB_SETTEXTA (WM_USER + 1)
#define SB_GETTEXTA (WM_USER + 2)
#define SB_GETTEXTLENGTHA (WM_USER + 3)
#define SB_SETPARTS (WM_USER + 4)
#define SB_GETPARTS (WM_USER + 6)
#define SB_SIMPLE (WM_USER + 9)
#define SB_SETTEXTW (WM_USER + 11)
#define SB_GETTEXTLENGTHW (WM_USER + 12)
#define SB_GETTEXTW (WM_USER + 13)
// SB_SETPARTS takes at most this many parts.
#define SB_MAX_PARTS 256

struct INITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
};
typedef INITCOMMONCONTROLSEX* LPINITCOMMONCONTROLSEX;
#define ICC_BAR_CLASSES 0x00000004

// The status bar class is always there; TRUE for a record of the right size.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

// Creates a status bar (STATUSCLASSNAMEW; no other class is known here) as a child of the
// main window `parent`, which must be given; WS_VISIBLE shows it, SBARS_SIZEGRIP gives it
// the grip. The position and size asked for are ignored: the bar places itself.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);

// As SendMessageA: messages of this subset carry the same parameters either way.
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
