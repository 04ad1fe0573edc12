// Creating, showing and destroying windows, their geometry and default processing.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include <algorithm>

#include "platform/linux/child_window.h"
#include "platform/linux/top_level_window.h"
#include "platform/linux/window_internals.h"

namespace {

bool noDisplay = false;

}  // namespace

void korvanth::platform::StartWithoutDisplay() { noDisplay = true; }

BOOL AdjustWindowRectEx(LPRECT rect, DWORD, BOOL menu, DWORD exStyle) {
  if (rect == nullptr) return FALSE;
  // The frame widget is the window rectangle: caption and border belong to the
  // desktop's window manager, so only the menu bar and the client edge are added.
  const int edge = (exStyle & WS_EX_CLIENTEDGE) ? korvanth::platform::kClientEdge : 0;
  const int menuHeight = menu ? korvanth::platform::MenuBarHeight() : 0;
  rect->left -= edge;
  rect->top -= edge + menuHeight;
  rect->right += edge;
  rect->bottom += edge;
  return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  if (noDisplay) {
    qWarning("no display to show a window on: DISPLAY and WAYLAND_DISPLAY are not set");
    return nullptr;
  }
  const auto windowClass = korvanth::platform::FindWindowClass(className);
  if (!windowClass) return nullptr;
  // A top-level window with a parent is owned by it (the only kind of child here).
  korvanth::platform::MainWindow* owner = korvanth::platform::LiveMainWindow(parent);
  if (parent != nullptr && owner == nullptr) return nullptr;
  auto* window = new korvanth::platform::MainWindow(*windowClass, style, exStyle);
  korvanth::platform::AdoptMainWindow(window);
  if (!window->create(windowName, x, y, width, height, menu, instance, param, owner)) {
    window->destroy();
    return nullptr;
  }
  return window;
}

BOOL DestroyWindow(HWND window) {
  if (korvanth::platform::ChildWindow* child = korvanth::platform::LiveChildWindow(window)) {
    child->destroy();
    return TRUE;
  }
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  if (found == nullptr) return FALSE;
  found->destroy();
  return TRUE;
}

BOOL ShowWindow(HWND window, int command) {
  if (korvanth::platform::ChildWindow* child = korvanth::platform::LiveChildWindow(window))
    return child->show(command != SW_HIDE) ? TRUE : FALSE;
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  return found != nullptr && found->show(command) ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int width, int height, UINT flags) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  if (found == nullptr || found->widget() == nullptr) return FALSE;
  if (!(flags & SWP_NOMOVE)) found->widget()->move(x, y);
  if (!(flags & SWP_NOSIZE)) {
    found->widget()->resize(std::max(width, 1), std::max(height, 1));
    // A hidden frame hears of its new size only when it shows: laid out now.
    found->relayout();
  }
  return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  if (found == nullptr || rect == nullptr) return FALSE;
  const QSize size = found->clientSize();
  *rect = RECT{0, 0, size.width(), size.height()};
  return TRUE;
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
  if (korvanth::platform::ChildWindow* child = korvanth::platform::LiveChildWindow(window)) {
    if (rect == nullptr || child->widget() == nullptr) return FALSE;
    const QWidget* shown = child->widget();
    const QPoint corner = shown->mapToGlobal(QPoint(0, 0));
    *rect = RECT{corner.x(), corner.y(), corner.x() + shown->width(), corner.y() + shown->height()};
    return TRUE;
  }
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  if (found == nullptr || rect == nullptr || found->widget() == nullptr) return FALSE;
  // The outer frame as the desktop places it, in screen coordinates.
  const QRect frame = found->widget()->frameGeometry();
  *rect =
      RECT{frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
  return TRUE;
}

BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  if (found == nullptr || placement == nullptr || found->widget() == nullptr) return FALSE;
  const QWidget* frame = found->widget();
  // normalGeometry() is empty for a window that was never maximized or minimized.
  const QRect normal =
      frame->isMaximized() || frame->isMinimized() ? frame->normalGeometry() : frame->geometry();
  placement->flags = 0;
  placement->showCmd = frame->isMaximized()   ? SW_SHOWMAXIMIZED
                       : frame->isMinimized() ? SW_SHOWMINIMIZED
                                              : SW_SHOWNORMAL;
  placement->ptMinPosition = POINT{-1, -1};
  placement->ptMaxPosition = POINT{-1, -1};
  placement->rcNormalPosition = RECT{normal.left(), normal.top(), normal.left() + normal.width(),
                                     normal.top() + normal.height()};
  return TRUE;
}

BOOL SystemParametersInfoA(UINT action, UINT, LPVOID value, UINT) {
  if (action != SPI_GETWORKAREA || value == nullptr) return FALSE;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return FALSE;
  const QRect area = screen->availableGeometry();
  *static_cast<RECT*>(value) =
      RECT{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
  return TRUE;
}

int GetSystemMetrics(int index) {
  if (index != SM_CXVSCROLL && index != SM_CYHSCROLL) return 0;
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return 0;
  // The extent the standard bars are laid out with (top_level_window.cpp).
  return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  if (found == nullptr || point == nullptr || found->client() == nullptr) return FALSE;
  const QPoint local = found->client()->mapFromGlobal(QPoint(point->x, point->y));
  point->x = local.x();
  point->y = local.y();
  return TRUE;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  if (found == nullptr) return FALSE;
  found->setTitle(text);
  return TRUE;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  if (found == nullptr) return 0;
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_ERASEBKGND:
      return found->eraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SETREDRAW:
      found->setRedraw(wParam != FALSE);
      return 0;
    case WM_SETTEXT:
      found->setTitle(reinterpret_cast<LPCSTR>(lParam));
      return TRUE;
    default:
      return 0;
  }
}
