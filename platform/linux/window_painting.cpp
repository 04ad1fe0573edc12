// Painting: the client area's back buffer, invalidation, WM_ERASEBKGND / WM_PAINT and
// scrolling the pixels already there.
#include <QPainter>

#include <algorithm>

#include "platform/linux/top_level_window.h"
#include "platform/linux/window_internals.h"

namespace korvanth::platform {

namespace {

RECT ToRect(const QRect& rect) {
  return RECT{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

// The device context's pixels as a QImage over the same memory (no copy).
QImage SurfaceImage(HDC__& dc) {
  korvanth::imaging::PixelImage& surface = dc.surface;
  return QImage(surface.bits(), static_cast<int>(surface.width()),
                static_cast<int>(surface.height()), static_cast<qsizetype>(surface.stride()),
                QImage::Format_RGB32);
}

QRect FromRect(const RECT& rect) {
  return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

}  // namespace

void MainWindow::resizeBuffer(QSize size) {
  if (inPaint_) {
    // A painter may be drawing into the buffer; it changes size once the paint is over.
    deferredBufferSize_ = size;
    return;
  }
  if (buffer_.size() == size) return;
  const QSize old = buffer_.size();
  korvanth::imaging::PixelImage surface = korvanth::imaging::PixelImage::Create(
      size.width(), size.height(), korvanth::imaging::Layout::Rgb32);
  HDC__ nextDc{std::move(surface)};
  QImage next = nextDc.surface.isNull() ? QImage() : SurfaceImage(nextDc);
  if (!next.isNull()) {
    const auto colour = BrushColour(class_.background);
    next.fill(colour ? *colour : QColor(255, 255, 255));
    if (!buffer_.isNull()) {
      QPainter painter(&next);
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      painter.drawImage(0, 0, buffer_);
    }
  }
  // The old view goes before the pixels it shows.
  buffer_ = next;
  dc_.surface = std::move(nextDc.surface);
  // Class style 0: only growing exposes area that needs painting.
  if (size.width() > old.width() || size.height() > old.height())
    invalidate(QRect(QPoint(0, 0), size), true);
}

void MainWindow::invalidate(const QRect& rect, bool erase) {
  const QRect area = rect & QRect(QPoint(0, 0), clientSize_);
  if (area.isEmpty() && !clientSize_.isEmpty()) return;
  invalid_ = true;
  invalidRect_ |= area;
  erasePending_ = erasePending_ || erase;
  if (client_) client_->update();
}

void MainWindow::paintPending() {
  if (!alive_ || !invalid_ || !redraw_ || !visible_ || inPaint_) return;
  inPaint_ = true;
  beganPaint_ = false;
  paintRect_ = invalidRect_;
  invalidRect_ = QRect();
  invalid_ = false;
  send(WM_PAINT, 0, 0);
  // A handler that never began the paint still validated it (no endless WM_PAINT).
  if (!beganPaint_) erasePending_ = false;
  inPaint_ = false;
  if (deferredBufferSize_.isValid()) {
    const QSize size = deferredBufferSize_;
    deferredBufferSize_ = QSize(-1, -1);
    if (alive_) resizeBuffer(size);
  }
}

void MainWindow::onClientPaint(QWidget* target) {
  paintPending();
  QPainter painter(target);
  if (buffer_.isNull()) return;
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(0, 0, buffer_);
}

HDC MainWindow::beginPaint(PAINTSTRUCT* paint) {
  if (paint == nullptr) return nullptr;
  *paint = PAINTSTRUCT{};
  paint->fErase = FALSE;
  if (erasePending_) {
    erasePending_ = false;
    // The class brush paints unless the handler erased itself (non-zero answer).
    paint->fErase = send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc_), 0) == 0;
  }
  const QRect whole(QPoint(0, 0), clientSize_);
  if (inPaint_) {
    beganPaint_ = true;
    paint->rcPaint = ToRect(paintRect_.isEmpty() ? whole : paintRect_);
  } else {
    // Outside a paint that Qt started: validates what was pending, as Windows does.
    paint->rcPaint = ToRect(invalid_ && !invalidRect_.isEmpty() ? invalidRect_ : whole);
    invalid_ = false;
    invalidRect_ = QRect();
  }
  paint->hdc = &dc_;
  return &dc_;
}

void MainWindow::endPaint() {
  // Pixels drawn outside Qt's own paint still have to reach the screen.
  if (!inPaint_ && client_) client_->update();
}

LRESULT MainWindow::eraseBackground(HDC dc) {
  const auto colour = BrushColour(class_.background);
  if (!colour || dc == nullptr || dc->surface.isNull()) return 0;
  SurfaceImage(*dc).fill(*colour);
  return 1;
}

void MainWindow::setRedraw(bool enabled) {
  redraw_ = enabled;
  if (client_) client_->setUpdatesEnabled(enabled);
}

int MainWindow::scrollPixels(int dx, int dy, const RECT* scroll, const RECT* clip,
                             LPRECT updateRect, UINT flags) {
  const QRect whole(QPoint(0, 0), clientSize_);
  const QRect source = (scroll != nullptr ? FromRect(*scroll) : whole) & whole;
  const QRect limit = (clip != nullptr ? FromRect(*clip) : whole) & whole;
  const QRect target = source.translated(dx, dy) & limit;
  if (!buffer_.isNull() && !target.isEmpty()) {
    const QImage before = buffer_.copy(source);
    QPainter painter(&buffer_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setClipRect(target);
    painter.drawImage(source.topLeft() + QPoint(dx, dy), before);
  }
  // What the move uncovered: the part of the scrolled area that nothing moved into.
  const QRegion uncovered = QRegion(source & limit) - QRegion(target);
  const QRect bounds = uncovered.boundingRect();
  if (updateRect != nullptr) *updateRect = bounds.isEmpty() ? RECT{0, 0, 0, 0} : ToRect(bounds);
  if ((flags & SW_INVALIDATE) && !bounds.isEmpty()) invalidate(bounds, (flags & SW_ERASE) != 0);
  if (client_) client_->update();  // shows the moved pixels; no WM_PAINT unless invalid
  return bounds.isEmpty() ? NULLREGION : SIMPLEREGION;
}

QImage ClientPixels(HWND window) {
  MainWindow* found = LiveMainWindow(window);
  if (found == nullptr) return QImage();
  if (QWidget* client = found->client(); client != nullptr && client->isVisible())
    client->repaint();
  found->paintPending();  // when Qt could not paint (not exposed), do it ourselves
  return found->alive() ? found->pixels() : QImage();
}

}  // namespace korvanth::platform

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  if (found == nullptr) return FALSE;
  const QRect whole(QPoint(0, 0), found->clientSize());
  found->invalidate(rect != nullptr ? korvanth::platform::FromRect(*rect) : whole, erase != FALSE);
  return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  return found != nullptr ? found->beginPaint(paint) : nullptr;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT*) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  if (found == nullptr) return FALSE;
  found->endPaint();
  return TRUE;
}

int ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN,
                   LPRECT updateRect, UINT flags) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  if (found == nullptr) return 0;
  return found->scrollPixels(dx, dy, scroll, clip, updateRect, flags);
}
