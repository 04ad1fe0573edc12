// Child windows of a main window: their widget in the parent's client area, visibility,
// destruction with the parent, and the registry that keeps their records.
#include "platform/linux/child_window.h"

#include <memory>

#include "platform/linux/top_level_window.h"

namespace korvanth::platform {

namespace {

// Never freed, as the main windows' records: a handle may outlive its window.
std::vector<std::unique_ptr<ChildWindow>>& Children() {
  static auto* children = new std::vector<std::unique_ptr<ChildWindow>>;
  return *children;
}

}  // namespace

ChildWindow::ChildWindow(MainWindow* parent, QWidget* widget, bool visible)
    : parent_(parent), widget_(widget), visible_(visible) {
  if (widget_ == nullptr) return;
  widget_->setParent(parent_->client());
  // As on Windows, the pointer over a child is the child's: the parent hears nothing.
  widget_->setAttribute(Qt::WA_NoMousePropagation);
  widget_->setVisible(visible_);
}

HWND ChildWindow::parent() const { return parent_; }

LRESULT ChildWindow::send(UINT message, WPARAM wParam, LPARAM lParam) {
  return alive_ ? handle(message, wParam, lParam) : 0;
}

bool ChildWindow::show(bool visible) {
  const bool was = visible_;
  visible_ = visible;
  if (widget_) widget_->setVisible(visible);
  return was;
}

void ChildWindow::destroy() {
  if (!alive_) return;
  alive_ = false;
  visible_ = false;
  // The widget may be delivering the event that led here.
  if (widget_) {
    widget_->hide();
    widget_->deleteLater();
  }
}

ChildWindow* LiveChildWindow(HWND window) {
  if (window == nullptr) return nullptr;
  for (const auto& child : Children())
    if (child.get() == window) return child->alive() ? child.get() : nullptr;
  return nullptr;
}

void AdoptChildWindow(ChildWindow* window) { Children().emplace_back(window); }

void DestroyChildWindowsOf(const MainWindow* parent) {
  for (const auto& child : Children())
    if (child->parentWindow() == parent) child->destroy();
}

}  // namespace korvanth::platform
