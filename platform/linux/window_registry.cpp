// Which HWNDs exist: our main windows (kept as small records after destruction, so a
// stale handle is recognised instead of followed) and the dialogs' windows.
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/linux/top_level_window.h"
#include "platform/linux/window_internals.h"

namespace {

// Never freed: a destroyed window's record must outlive every handle to it, and
// nothing here may run after QApplication is gone.
std::vector<std::unique_ptr<korvanth::platform::MainWindow>>& Windows() {
  static auto* windows = new std::vector<std::unique_ptr<korvanth::platform::MainWindow>>;
  return *windows;
}

std::vector<HWND>& ForeignWindows() {
  static auto* windows = new std::vector<HWND>;
  return *windows;
}

korvanth::platform::MainWindow* AnyMainWindow(HWND window) {
  if (window == nullptr) return nullptr;
  for (const auto& owned : Windows())
    if (owned.get() == window) return owned.get();
  return nullptr;
}

}  // namespace

namespace korvanth::platform {

bool IsForeign(HWND window) {
  const auto& foreign = ForeignWindows();
  return window != nullptr && std::find(foreign.begin(), foreign.end(), window) != foreign.end();
}

}  // namespace korvanth::platform

namespace korvanth::platform {

MainWindow* LiveMainWindow(HWND window) {
  MainWindow* found = AnyMainWindow(window);
  return found != nullptr && found->alive() ? found : nullptr;
}

void AdoptMainWindow(MainWindow* window) { Windows().emplace_back(window); }

std::vector<MainWindow*> LiveMainWindows() {
  std::vector<MainWindow*> live;
  for (const auto& owned : Windows())
    if (owned->alive()) live.push_back(owned.get());
  return live;
}

HWND WindowForWidget(QWidget* widget) {
  for (QWidget* current = widget; current != nullptr; current = current->parentWidget()) {
    for (MainWindow* window : LiveMainWindows())
      if (window->widget() == current) return window;
    for (HWND foreign : ForeignWindows())
      if (foreign->widget() == current) return foreign;
  }
  return nullptr;
}

void RegisterForeignWindow(HWND window) {
  if (window != nullptr && !IsForeign(window)) ForeignWindows().push_back(window);
}

void UnregisterForeignWindow(HWND window) {
  auto& foreign = ForeignWindows();
  foreign.erase(std::remove(foreign.begin(), foreign.end(), window), foreign.end());
}

void NotifyFocusReturned(HWND window) {
  MainWindow* owner = LiveMainWindow(window);
  if (owner == nullptr) return;
  // The dialog held the focus while it was open, whether or not Qt told us so.
  owner->loseFocus(nullptr);
  owner->activateInQt();
  if (owner->alive()) owner->gainFocus(nullptr);
}

QWidget* ClientWidgetOf(HWND window) {
  MainWindow* found = LiveMainWindow(window);
  return found != nullptr ? found->client() : nullptr;
}

QScrollBar* StandardScrollBar(HWND window, int bar) {
  MainWindow* found = LiveMainWindow(window);
  return found != nullptr ? found->scrollBar(bar) : nullptr;
}

void FlushDestroyedWindows() {
  for (const auto& owned : Windows())
    if (owned->widgetsPending()) owned->releaseWidgets();
}

}  // namespace korvanth::platform

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window == nullptr) return 0;
  if (korvanth::platform::MainWindow* ours = AnyMainWindow(window))
    return ours->alive() ? ours->send(message, wParam, lParam) : 0;
  // Dialog windows are HWND__s of the dialog half and answer for themselves.
  return window->send(message, wParam, lParam);
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(window, message, wParam, lParam);
}

HWND GetFocus() {
  if (QWidget* focused = QApplication::focusWidget()) {
    if (HWND owner = korvanth::platform::WindowForWidget(focused)) return owner;
  }
  for (korvanth::platform::MainWindow* window : korvanth::platform::LiveMainWindows())
    if (window->hasFocus()) return window;
  return nullptr;
}
