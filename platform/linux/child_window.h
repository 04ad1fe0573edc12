// Off Windows: a child window (WS_CHILD) of a main window, such as a common control. Its Qt
// widget lies in the parent's client area, in client coordinates. Like main windows, child
// windows are kept as records after destruction, so a stale handle is recognised.
#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

#include "platform/linux/window_object.h"

namespace korvanth::platform {

class MainWindow;

class ChildWindow : public HWND__ {
 public:
  // `widget` becomes a child of the parent's client widget, shown when `visible`.
  ChildWindow(MainWindow* parent, QWidget* widget, bool visible);
  ~ChildWindow() override = default;

  QWidget* widget() const final { return widget_; }
  HWND parent() const final;
  // Handled by the control while the window lives; 0 afterwards.
  LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) final;

  bool alive() const { return alive_; }
  MainWindow* parentWindow() const { return parent_; }
  // ShowWindow: the previous visibility (the window's own, whatever its parent's).
  bool show(bool visible);
  bool visible() const { return visible_; }
  void destroy();

 protected:
  virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;

 private:
  MainWindow* parent_;
  QPointer<QWidget> widget_;
  bool alive_ = true;
  bool visible_;
};

// The child window behind a handle, while it lives; null for anything else.
ChildWindow* LiveChildWindow(HWND window);
// Takes a new child window into the registry (which owns it from then on).
void AdoptChildWindow(ChildWindow* window);
// As Windows does when a window goes: its child windows are destroyed with it.
void DestroyChildWindowsOf(const MainWindow* parent);

}  // namespace korvanth::platform
