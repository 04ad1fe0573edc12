// Off Windows: a top-level window of the Win32 subset. A QWidget frame holds the menu
// bar, the client area (painted from a back buffer that keeps its pixels between
// paints, as a window's pixels are kept) and the two standard scroll bars, which show
// the state that SetScrollInfo stored and report the user's actions as messages.
#pragma once

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QScrollBar>
#include <QWidget>

#include <string>
#include <vector>

#include "imaging/linux/device_context.h"
#include "platform/linux/window_class.h"
#include "platform/linux/window_object.h"

class QMenuBar;
class QMimeData;

namespace korvanth::platform {

class MainWindow;

class FrameWidget final : public QWidget {
 public:
  explicit FrameWidget(MainWindow* owner);

 protected:
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  MainWindow* owner_;
};

class ClientWidget final : public QWidget {
 public:
  ClientWidget(MainWindow* owner, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  MainWindow* owner_;
};

class StandardBar final : public QScrollBar {
 public:
  StandardBar(MainWindow* owner, int bar, QWidget* parent);
  // True between a mouse press on the bar and its release.
  bool mouseHeld() const { return mouseHeld_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  MainWindow* owner_;
  int bar_;
  bool mouseHeld_ = false;
};

// What SetScrollInfo stored for one standard bar.
struct ScrollBarState {
  int min = 0;
  int max = 0;
  UINT page = 0;
  int pos = 0;
  bool dragging = false;
  int trackPos = 0;
};

class MainWindow final : public HWND__ {
 public:
  MainWindow(const WindowClass& windowClass, DWORD style, DWORD exStyle);
  ~MainWindow() override = default;

  QWidget* widget() const override;
  LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Creation as CreateWindowExA does it; false when the window refused (WM_CREATE -1).
  bool create(LPCSTR title, int x, int y, int width, int height, HMENU menu, HINSTANCE instance,
              LPVOID param, MainWindow* owner = nullptr);
  // The window that owns this one (an owned window stays above it and goes with it).
  HWND parent() const override { return owner_; }
  void destroy();
  bool alive() const { return alive_; }
  // Deletes the Qt widgets of a destroyed window; safe only outside its event handlers.
  void releaseWidgets();
  bool widgetsPending() const { return destroyed_ && frame_ != nullptr; }

  bool show(int command);
  bool visible() const { return visible_; }
  QSize clientSize() const { return clientSize_; }
  void setTitle(const char* text);
  HMENU menu() const { return menu_; }
  QWidget* client() const { return client_; }
  QScrollBar* scrollBar(int bar) const;
  DWORD exStyle() const { return exStyle_; }
  const WindowClass& windowClass() const { return class_; }

  // Layout: places menu bar, client and bars; reports a changed client size (WM_SIZE).
  void relayout();

  // Focus (WM_SETFOCUS / WM_KILLFOCUS follow our own record of who holds the focus).
  bool hasFocus() const { return hasFocus_; }
  void gainFocus(HWND previous);
  void loseFocus(HWND next);
  void activateInQt();
  void onActivationChanged(bool active);

  // Painting (window_painting.cpp).
  void invalidate(const QRect& rect, bool erase);
  void paintPending();  // runs WM_PAINT now if the client area is invalid
  void onClientPaint(QWidget* target);
  HDC beginPaint(PAINTSTRUCT* paint);
  void endPaint();
  LRESULT eraseBackground(HDC dc);
  void setRedraw(bool enabled);
  int scrollPixels(int dx, int dy, const RECT* scroll, const RECT* clip, LPRECT updateRect,
                   UINT flags);
  // A copy: the imaging layer keeps drawing into the buffer's own memory.
  QImage pixels() const { return buffer_.copy(); }

  // Scroll bars (scroll_bars.cpp).
  int setScrollInfo(int bar, const SCROLLINFO& info);
  bool getScrollInfo(int bar, SCROLLINFO* info) const;
  void onBarAction(int bar, int action);
  void onBarPressed(int bar);
  void onBarReleased(int bar);
  void onBarMouseDone(int bar);

  // Input.
  void onMouse(UINT message, QMouseEvent* event);
  void onWheel(QWheelEvent* event);
  // Key-down or key-up; false when the key has no virtual-key code here.
  bool onKey(UINT message, QKeyEvent* event);
  bool acceptsDrop(const QMimeData* data) const;
  void onDrop(QDropEvent* event);

  // Menus (menus.cpp).
  void onMenuCommand(UINT id);
  void syncMenuChecks();
  // SetMenu: shows `menu` (null: no bar) in place of the current one, which is released.
  bool replaceMenu(HMENU menu);

  void onCloseRequest(QCloseEvent* event);

 private:
  void buildMenuBar();
  void resizeBuffer(QSize size);
  void reportSize();
  void syncBar(int bar);
  bool barShouldShow(int bar) const;

  WindowClass class_;
  MainWindow* owner_ = nullptr;
  DWORD style_;
  DWORD exStyle_;
  bool alive_ = false;
  bool destroyed_ = false;
  bool creating_ = true;
  bool visible_ = false;
  bool hasFocus_ = false;

  QPointer<FrameWidget> frame_;
  QPointer<ClientWidget> client_;
  QPointer<StandardBar> bars_[2];
  QPointer<QMenuBar> menuBar_;
  HMENU menu_ = nullptr;

  QSize clientSize_;
  QSize reportedSize_{-1, -1};
  int sizeDepth_ = 0;

  // The back buffer is owned by the device context the imaging layer draws into;
  // buffer_ shows the same memory to Qt's painters.
  HDC__ dc_{};
  QImage buffer_;
  bool invalid_ = false;
  bool erasePending_ = false;
  QRect invalidRect_;
  bool redraw_ = true;
  bool inPaint_ = false;
  bool beganPaint_ = false;
  QRect paintRect_;
  QSize deferredBufferSize_{-1, -1};

  ScrollBarState scroll_[2];
};

// Height of a menu bar; AdjustWindowRectEx and the windows agree on it.
int MenuBarHeight();
// Width of the client edge that WS_EX_CLIENTEDGE adds on each side.
constexpr int kClientEdge = 2;

// The registry of our windows (window_registry.cpp).
MainWindow* LiveMainWindow(HWND window);
void AdoptMainWindow(MainWindow* window);
// A snapshot: handlers may create or destroy windows while the caller walks it.
std::vector<MainWindow*> LiveMainWindows();

// Stops every timer of the window (timers.cpp).
void KillTimersOf(HWND window);

}  // namespace korvanth::platform
