// Win32 calls only the tests make, over the Linux window subset's own records.
#include "gui_support/win32_test_calls.h"

#include "platform/linux/child_window.h"
#include "platform/linux/dialogs_internal.h"
#include "platform/linux/menu_model.h"
#include "platform/linux/top_level_window.h"
#include "platform/linux/window_internals.h"

using korvanth::platform::LiveMainWindow;
using korvanth::platform::MainWindow;

BOOL IsWindow(HWND window) {
  return LiveMainWindow(window) != nullptr || korvanth::platform::LiveChildWindow(window) ||
         korvanth::platform::IsForeign(window);
}

BOOL IsWindowVisible(HWND window) {
  // A child shows while it and its parent both do.
  if (const auto* child = korvanth::platform::LiveChildWindow(window))
    return child->visible() && child->parentWindow()->visible() ? TRUE : FALSE;
  MainWindow* found = LiveMainWindow(window);
  return found != nullptr && found->visible() ? TRUE : FALSE;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && !IsWindow(window)) return FALSE;
  korvanth::platform::Post(window, message, wParam, lParam);
  return TRUE;
}

HWND SetFocus(HWND window) {
  HWND previous = GetFocus();
  if (window == nullptr) {
    for (MainWindow* other : korvanth::platform::LiveMainWindows()) other->loseFocus(nullptr);
    return previous;
  }
  MainWindow* target = LiveMainWindow(window);
  if (target == nullptr) return nullptr;
  target->activateInQt();
  if (target->alive()) target->gainFocus(previous);
  return previous;
}

BOOL UpdateWindow(HWND window) {
  MainWindow* found = LiveMainWindow(window);
  if (found == nullptr) return FALSE;
  found->paintPending();
  if (found->alive() && found->client() != nullptr) found->client()->update();
  return TRUE;
}

BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
  MainWindow* found = LiveMainWindow(window);
  // Windows takes the record with or without its last field.
  if (found == nullptr || info == nullptr || (bar != SB_HORZ && bar != SB_VERT) ||
      (info->cbSize != sizeof(SCROLLINFO) && info->cbSize != sizeof(SCROLLINFO) - sizeof(int)))
    return FALSE;
  return found->getScrollInfo(bar, info) ? TRUE : FALSE;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  if (!korvanth::platform::IsLiveMenu(menu)) return static_cast<UINT>(-1);
  const HMENU__::Item* found = nullptr;
  if (flags & MF_BYPOSITION) {
    if (item < menu->items.size()) found = &menu->items[item];
  } else {
    found = korvanth::platform::FindMenuCommand(menu, item);
  }
  if (found == nullptr) return static_cast<UINT>(-1);
  UINT state = found->flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR);
  if (found->checked) state |= MF_CHECKED;
  if (found->radio) state |= MFT_RADIOCHECK;
  if (found->popup) state |= MF_POPUP | (static_cast<UINT>(found->popup->items.size()) << 8);
  return state;
}

DWORD CommDlgExtendedError() { return korvanth::platform::DialogError(); }
