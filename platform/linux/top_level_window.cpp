// The main window's Qt widgets, its creation and destruction, layout and focus.
#include "platform/linux/top_level_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>

#include <algorithm>

#include "platform/linux/child_window.h"
#include "platform/linux/menu_model.h"

namespace korvanth::platform {

FrameWidget::FrameWidget(MainWindow* owner) : owner_(owner) {}

bool FrameWidget::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) owner_->onActivationChanged(true);
  if (event->type() == QEvent::WindowDeactivate) owner_->onActivationChanged(false);
  return QWidget::event(event);
}

void FrameWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  owner_->relayout();
}

void FrameWidget::closeEvent(QCloseEvent* event) { owner_->onCloseRequest(event); }

void FrameWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (!(owner_->exStyle() & WS_EX_CLIENTEDGE)) return;
  // The sunken client edge around client area and bars.
  const int top = (owner_->menu() != nullptr ? MenuBarHeight() : 0);
  const QRect edge(0, top, width(), height() - top);
  painter.setPen(palette().dark().color());
  painter.drawLine(edge.topLeft(), edge.topRight());
  painter.drawLine(edge.topLeft(), edge.bottomLeft());
  painter.setPen(palette().light().color());
  painter.drawLine(edge.bottomLeft(), edge.bottomRight());
  painter.drawLine(edge.topRight(), edge.bottomRight());
}

void FrameWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (owner_->acceptsDrop(event->mimeData())) event->acceptProposedAction();
}

void FrameWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (owner_->acceptsDrop(event->mimeData())) event->acceptProposedAction();
}

void FrameWidget::dropEvent(QDropEvent* event) { owner_->onDrop(event); }

ClientWidget::ClientWidget(MainWindow* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void ClientWidget::paintEvent(QPaintEvent*) { owner_->onClientPaint(this); }

void ClientWidget::mouseMoveEvent(QMouseEvent* event) { owner_->onMouse(WM_MOUSEMOVE, event); }

void ClientWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) owner_->onMouse(WM_LBUTTONDOWN, event);
}

void ClientWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) owner_->onMouse(WM_LBUTTONUP, event);
}

void ClientWidget::wheelEvent(QWheelEvent* event) { owner_->onWheel(event); }

void ClientWidget::keyPressEvent(QKeyEvent* event) {
  if (!owner_->onKey(WM_KEYDOWN, event)) QWidget::keyPressEvent(event);
}

void ClientWidget::keyReleaseEvent(QKeyEvent* event) {
  if (!owner_->onKey(WM_KEYUP, event)) QWidget::keyReleaseEvent(event);
}

void ClientWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (owner_->acceptsDrop(event->mimeData())) event->acceptProposedAction();
}

void ClientWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (owner_->acceptsDrop(event->mimeData())) event->acceptProposedAction();
}

void ClientWidget::dropEvent(QDropEvent* event) { owner_->onDrop(event); }

StandardBar::StandardBar(MainWindow* owner, int bar, QWidget* parent)
    : QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, parent), owner_(owner), bar_(bar) {
  // The context menu would move the bar by itself ("Scroll here").
  setContextMenuPolicy(Qt::NoContextMenu);
  setFocusPolicy(Qt::NoFocus);
  connect(this, &QAbstractSlider::actionTriggered, this,
          [this](int action) { owner_->onBarAction(bar_, action); });
  connect(this, &QAbstractSlider::sliderPressed, this, [this] { owner_->onBarPressed(bar_); });
  connect(this, &QAbstractSlider::sliderReleased, this, [this] { owner_->onBarReleased(bar_); });
}

void StandardBar::mousePressEvent(QMouseEvent* event) {
  mouseHeld_ = true;
  QScrollBar::mousePressEvent(event);
}

void StandardBar::mouseReleaseEvent(QMouseEvent* event) {
  const bool wasHeld = mouseHeld_;
  mouseHeld_ = false;
  QScrollBar::mouseReleaseEvent(event);
  // Windows ends every mouse action on a bar with SB_ENDSCROLL when the button goes up.
  if (wasHeld && event->buttons() == Qt::NoButton) owner_->onBarMouseDone(bar_);
}

int MenuBarHeight() {
  static int height = -1;
  if (height < 0) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return 0;
    QMenuBar probe;
    probe.setNativeMenuBar(false);
    probe.addMenu(QString::fromUtf8("&File 形式(&F)"));
    height = probe.sizeHint().height();
  }
  return height;
}

MainWindow::MainWindow(const WindowClass& windowClass, DWORD style, DWORD exStyle)
    : class_(windowClass), style_(style), exStyle_(exStyle) {}

QWidget* MainWindow::widget() const { return frame_; }

LRESULT MainWindow::send(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!alive_) return 0;
  return class_.procedure(this, message, wParam, lParam);
}

QScrollBar* MainWindow::scrollBar(int bar) const {
  if (bar != SB_HORZ && bar != SB_VERT) return nullptr;
  return bars_[bar];
}

bool MainWindow::create(LPCSTR title, int x, int y, int width, int height, HMENU menu,
                        HINSTANCE instance, LPVOID param, MainWindow* owner) {
  alive_ = true;
  menu_ = menu;
  owner_ = owner;
  frame_ = new FrameWidget(this);
  // An owned window: a tool window of its owner's, kept above it.
  if (owner_ != nullptr && owner_->widget() != nullptr)
    frame_->setParent(owner_->widget(), Qt::Tool);
  // A window that never becomes the active one, nor takes the keyboard focus.
  if (exStyle_ & WS_EX_NOACTIVATE) {
    frame_->setAttribute(Qt::WA_ShowWithoutActivating);
    frame_->setWindowFlag(Qt::WindowDoesNotAcceptFocus);
  }
  frame_->setAttribute(Qt::WA_DeleteOnClose, false);
  frame_->setWindowTitle(QString::fromUtf8(title != nullptr ? title : ""));
  if (class_.icon != nullptr && !class_.icon->picture.isNull())
    frame_->setWindowIcon(class_.icon->picture);
  frame_->setAcceptDrops((exStyle_ & WS_EX_ACCEPTFILES) != 0);
  client_ = new ClientWidget(this, frame_);
  client_->setAcceptDrops((exStyle_ & WS_EX_ACCEPTFILES) != 0);
  if (class_.cursor != nullptr) client_->setCursor(Qt::ArrowCursor);
  for (int bar : {SB_HORZ, SB_VERT}) {
    bars_[bar] = new StandardBar(this, bar, frame_);
    bars_[bar]->setRange(0, 0);
    bars_[bar]->setPageStep(0);
    bars_[bar]->hide();
  }
  buildMenuBar();
  if (x != CW_USEDEFAULT && y != CW_USEDEFAULT) frame_->move(x, y);
  if (width == CW_USEDEFAULT || height == CW_USEDEFAULT) {
    width = 640;
    height = 480;
  }
  frame_->resize(std::max(width, 1), std::max(height, 1));
  relayout();
  if (const auto colour = BrushColour(class_.background)) buffer_.fill(*colour);
  invalidate(QRect(QPoint(0, 0), clientSize_), true);

  CREATESTRUCTA create{};
  create.lpCreateParams = param;
  create.hInstance = instance;
  create.hMenu = menu;
  create.cx = width;
  create.cy = height;
  create.x = x;
  create.y = y;
  create.style = static_cast<LONG>(style_);
  create.lpszName = title;
  create.lpszClass = class_.name.c_str();
  create.dwExStyle = exStyle_;
  if (send(WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1 || !alive_) return false;

  creating_ = false;
  reportSize();
  if (!alive_) return false;
  if (style_ & WS_VISIBLE) show(SW_SHOW);
  return alive_;
}

bool MainWindow::show(int command) {
  if (!alive_ || !frame_) return false;
  const bool wasVisible = visible_;
  if (command == SW_HIDE) {
    if (wasVisible) {
      send(WM_SHOWWINDOW, FALSE, 0);
      visible_ = false;
      if (frame_) frame_->hide();
      loseFocus(nullptr);
    }
    return wasVisible;
  }
  const bool activates =
      command != SW_SHOWNOACTIVATE && command != SW_SHOWNA && command != SW_SHOWMINNOACTIVE;
  if (!wasVisible) {
    send(WM_SHOWWINDOW, TRUE, 0);
    if (!alive_ || !frame_) return wasVisible;
    visible_ = true;
    frame_->setAttribute(Qt::WA_ShowWithoutActivating, !activates);
    frame_->show();
    relayout();
  }
  if (activates && alive_) {
    HWND previous = nullptr;
    for (MainWindow* other : LiveMainWindows())
      if (other != this && other->hasFocus()) previous = other;
    activateInQt();
    if (alive_) gainFocus(previous);
  }
  return wasVisible;
}

void MainWindow::setTitle(const char* text) {
  if (frame_) frame_->setWindowTitle(QString::fromUtf8(text != nullptr ? text : ""));
}

void MainWindow::destroy() {
  if (!alive_) return;
  // As on Windows, the windows this one owns are destroyed before it.
  for (MainWindow* other : LiveMainWindows())
    if (other != this && other->owner_ == this) other->destroy();
  // As on Windows: the window disappears first, then hears WM_DESTROY while its handle
  // is still valid.
  if (visible_) {
    visible_ = false;
    if (frame_) frame_->hide();
  }
  loseFocus(nullptr);
  send(WM_DESTROY, 0, 0);
  // Then, as on Windows, its child windows and its timers go.
  DestroyChildWindowsOf(this);
  KillTimersOf(this);
  alive_ = false;
  destroyed_ = true;
  hasFocus_ = false;
  buffer_ = QImage();
  dc_.surface = korvanth::imaging::PixelImage();
  // The widgets may be in the middle of delivering the event that led here.
  if (frame_) frame_->deleteLater();
  if (menu_ != nullptr) {
    ForgetMenu(menu_);
    delete menu_;
    menu_ = nullptr;
  }
}

void MainWindow::releaseWidgets() {
  if (!destroyed_) return;
  delete frame_.data();
}

void MainWindow::relayout() {
  if (!frame_) return;
  const QSize outer = frame_->size();
  const int menuHeight = menuBar_ ? MenuBarHeight() : 0;
  const int edge = (exStyle_ & WS_EX_CLIENTEDGE) ? kClientEdge : 0;
  const QRect inner(edge, menuHeight + edge, std::max(0, outer.width() - 2 * edge),
                    std::max(0, outer.height() - menuHeight - 2 * edge));
  const bool vertical = barShouldShow(SB_VERT);
  const bool horizontal = barShouldShow(SB_HORZ);
  const int barWidth = vertical ? bars_[SB_VERT]->style()->pixelMetric(QStyle::PM_ScrollBarExtent,
                                                                       nullptr, bars_[SB_VERT])
                                : 0;
  const int barHeight = horizontal ? bars_[SB_HORZ]->style()->pixelMetric(
                                         QStyle::PM_ScrollBarExtent, nullptr, bars_[SB_HORZ])
                                   : 0;
  const int width = std::max(0, inner.width() - barWidth);
  const int height = std::max(0, inner.height() - barHeight);

  if (menuBar_) menuBar_->setGeometry(0, 0, outer.width(), menuHeight);
  client_->setGeometry(inner.x(), inner.y(), width, height);
  bars_[SB_VERT]->setGeometry(inner.x() + width, inner.y(), barWidth, height);
  bars_[SB_HORZ]->setGeometry(inner.x(), inner.y() + height, width, barHeight);
  bars_[SB_VERT]->setVisible(vertical);
  bars_[SB_HORZ]->setVisible(horizontal);
  clientSize_ = QSize(width, height);
  resizeBuffer(clientSize_);
  reportSize();
}

void MainWindow::reportSize() {
  if (creating_ || !alive_) return;
  // Showing a bar from inside a WM_SIZE handler leads to a nested WM_SIZE, as on
  // Windows; the depth bound only guards against a handler that never settles.
  constexpr int kMaxDepth = 16;
  if (sizeDepth_ >= kMaxDepth) return;
  for (int round = 0; round < kMaxDepth && alive_ && clientSize_ != reportedSize_; ++round) {
    reportedSize_ = clientSize_;
    ++sizeDepth_;
    send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(clientSize_.width(), clientSize_.height()));
    --sizeDepth_;
  }
}

void MainWindow::activateInQt() {
  if (!frame_ || !visible_) return;
  frame_->activateWindow();
  if (client_) client_->setFocus(Qt::ActiveWindowFocusReason);
}

void MainWindow::gainFocus(HWND previous) {
  if (!alive_ || hasFocus_) return;
  for (MainWindow* other : LiveMainWindows())
    if (other != this) other->loseFocus(this);
  hasFocus_ = true;
  send(WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
}

void MainWindow::loseFocus(HWND next) {
  if (!alive_ || !hasFocus_) return;
  hasFocus_ = false;
  send(WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
}

void MainWindow::onActivationChanged(bool active) {
  if (!alive_ || !visible_ || (exStyle_ & WS_EX_NOACTIVATE)) return;
  if (!active) {
    // Qt may activate a window of ours that must not be activated; the focus stays here.
    QWidget* now = QApplication::activeWindow();
    HWND other = now != nullptr ? WindowForWidget(now) : nullptr;
    if (MainWindow* found = LiveMainWindow(other);
        found != nullptr && found != this && (found->exStyle() & WS_EX_NOACTIVATE)) {
      if (frame_) frame_->activateWindow();
      return;
    }
  }
  if (active)
    gainFocus(nullptr);
  else
    loseFocus(nullptr);
}

void MainWindow::onCloseRequest(QCloseEvent* event) {
  if (!alive_) {
    event->accept();
    return;
  }
  // The close box asks; the window procedure decides (DefWindowProcA destroys).
  event->ignore();
  send(WM_CLOSE, 0, 0);
}

void MainWindow::onMouse(UINT message, QMouseEvent* event) {
  if (!alive_) return;
  const QPoint at = event->position().toPoint();
  // Without capture, Windows reports the mouse only while it is over the client area.
  if (!QRect(QPoint(0, 0), clientSize_).contains(at)) return;
  WPARAM keys = 0;
  const Qt::MouseButtons buttons = event->buttons();
  if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
  if (event->modifiers() & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (event->modifiers() & Qt::ControlModifier) keys |= MK_CONTROL;
  send(message, keys, MAKELPARAM(at.x(), at.y()));
}

}  // namespace korvanth::platform
