// Win32 calls of the subset that only the tests make, the program never: kept here, over
// the subset's own records, so that the program carries none of them.
#pragma once

#include "platform/win32_api.h"

BOOL IsWindow(HWND window);
BOOL IsWindowVisible(HWND window);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HWND SetFocus(HWND window);
BOOL UpdateWindow(HWND window);
BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
DWORD CommDlgExtendedError();
