// The status bar common control over a QStatusBar: parts as labels, their texts, and its
// place along the bottom of the parent's client area.
#include <QLabel>
#include <QStatusBar>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/linux/child_window.h"
#include "platform/linux/top_level_window.h"

namespace korvanth::platform {

namespace {

// SB_SETTEXTW's part number for the simple mode, which is not offered here.
constexpr unsigned kSimplePart = 255;

class StatusBarControl final : public ChildWindow {
 public:
  StatusBarControl(MainWindow* parent, bool visible, bool grip)
      : ChildWindow(parent, new QStatusBar, visible) {
    bar()->setSizeGripEnabled(grip);
    bar()->setAutoFillBackground(true);
    setParts({-1});
    // Fixed, as Windows' bar is by its font: the grip that comes and goes with the window's
    // size would change the hint by a pixel.
    height_ = bar()->sizeHint().height();
    place();
  }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_SIZE:
        place();
        return 0;
      case SB_SETPARTS: {
        const auto* rights = reinterpret_cast<const int*>(lParam);
        if (wParam == 0 || wParam > SB_MAX_PARTS || rights == nullptr) return FALSE;
        setParts(std::vector<int>(rights, rights + wParam));
        return TRUE;
      }
      case SB_SETTEXTW:
        return setText(wParam & 0xFF, reinterpret_cast<LPCWSTR>(lParam)) ? TRUE : FALSE;
      case SB_GETTEXTLENGTHW:
      case SB_GETTEXTW: {
        const std::size_t part = wParam & 0xFF;
        if (part >= texts_.size()) return 0;
        const std::u16string& text = texts_[part];
        if (message == SB_GETTEXTW && lParam != 0)
          std::copy(text.c_str(), text.c_str() + text.size() + 1, reinterpret_cast<LPWSTR>(lParam));
        return MAKELONG(static_cast<WORD>(text.size()), 0);
      }
      default:
        return 0;
    }
  }

 private:
  QStatusBar* bar() const { return static_cast<QStatusBar*>(widget()); }

  // Along the bottom of the parent's client area, its whole width, at the bar's own height.
  void place() {
    QStatusBar* shown = bar();
    if (shown == nullptr) return;
    const QSize client = parentWindow()->clientSize();
    shown->setGeometry(0, client.height() - height_, client.width(), height_);
    shown->raise();
  }

  // One label a part, each as wide as from the right edge before it to its own (-1: to
  // the bar's right end); the texts of parts that stay are kept.
  void setParts(const std::vector<int>& rights) {
    for (QLabel* label : labels_) {
      bar()->removeWidget(label);
      delete label;
    }
    labels_.clear();
    texts_.resize(rights.size());
    int left = 0;
    for (std::size_t part = 0; part < rights.size(); ++part) {
      auto* label = new QLabel(QString::fromStdU16String(texts_[part]));
      label->setTextFormat(Qt::PlainText);  // a file name is never markup
      const bool toTheEnd = rights[part] < 0;
      if (!toTheEnd) label->setFixedWidth(std::max(0, rights[part] - left));
      bar()->addWidget(label, toTheEnd ? 1 : 0);
      labels_.push_back(label);
      left = std::max(left, rights[part]);
    }
  }

  bool setText(std::size_t part, LPCWSTR text) {
    if (part == kSimplePart || part >= texts_.size()) return false;
    texts_[part] = text != nullptr ? std::u16string(text) : std::u16string();
    labels_[part]->setText(QString::fromStdU16String(texts_[part]));
    return true;
  }

  int height_ = 0;
  std::vector<std::u16string> texts_;
  std::vector<QLabel*> labels_;
};

}  // namespace

}  // namespace korvanth::platform

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
  return init != nullptr && init->dwSize == sizeof(INITCOMMONCONTROLSEX) ? TRUE : FALSE;
}

HWND CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR, DWORD style, int, int, int, int,
                     HWND parent, HMENU, HINSTANCE, LPVOID) {
  korvanth::platform::MainWindow* owner = korvanth::platform::LiveMainWindow(parent);
  if (className == nullptr || std::u16string_view(className) != STATUSCLASSNAMEW ||
      !(style & WS_CHILD) || owner == nullptr || owner->client() == nullptr)
    return nullptr;
  auto* bar = new korvanth::platform::StatusBarControl(owner, (style & WS_VISIBLE) != 0,
                                                       (style & SBARS_SIZEGRIP) != 0);
  korvanth::platform::AdoptChildWindow(bar);
  return bar;
}
