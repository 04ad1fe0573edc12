// The two standard scroll bars: the state SetScrollInfo stores, the clamp Windows
// applies to the position, and the user's actions turned into WM_HSCROLL/WM_VSCROLL.
#include <QAbstractSlider>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/linux/top_level_window.h"

namespace korvanth::platform {

namespace {

// Highest position the bar can reach, in 64 bits so that extreme ranges cannot wrap.
std::int64_t HighestPosition(const ScrollBarState& state) {
  const std::int64_t page = state.page;
  return static_cast<std::int64_t>(state.max) - std::max<std::int64_t>(page - 1, 0);
}

UINT MessageFor(int bar) { return bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL; }

// A thumb position travels in the high word of wParam.
WPARAM Request(int code, int position) {
  return MAKEWPARAM(code, static_cast<WORD>(position & 0xFFFF));
}

}  // namespace

bool MainWindow::barShouldShow(int bar) const {
  const ScrollBarState& state = scroll_[bar];
  return HighestPosition(state) > state.min;
}

int MainWindow::setScrollInfo(int bar, const SCROLLINFO& info) {
  ScrollBarState& state = scroll_[bar];
  if (info.fMask & SIF_RANGE) {
    state.min = info.nMin;
    state.max = info.nMax;
  }
  if (info.fMask & SIF_PAGE) state.page = info.nPage;
  if (info.fMask & SIF_POS) state.pos = info.nPos;

  // A page never exceeds the range; an empty or inverted range has no page.
  const std::int64_t span = static_cast<std::int64_t>(state.max) - state.min + 1;
  if (span <= 0)
    state.page = 0;
  else if (static_cast<std::int64_t>(state.page) > span)
    state.page = static_cast<UINT>(span);
  const std::int64_t highest = HighestPosition(state);
  if (highest < state.min || state.pos < state.min)
    state.pos = state.min;
  else if (state.pos > highest)
    state.pos = static_cast<int>(highest);

  const bool wasShown = bars_[bar] && bars_[bar]->isVisibleTo(frame_);
  syncBar(bar);
  // Showing or hiding a bar changes the client area: WM_SIZE from right here.
  if (bars_[bar] && barShouldShow(bar) != wasShown) relayout();
  return scroll_[bar].pos;
}

bool MainWindow::getScrollInfo(int bar, SCROLLINFO* info) const {
  const ScrollBarState& state = scroll_[bar];
  if (info->fMask & SIF_RANGE) {
    info->nMin = state.min;
    info->nMax = state.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = state.page;
  if (info->fMask & SIF_POS) info->nPos = state.pos;
  // The short record has no nTrackPos field to write into.
  if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO))
    info->nTrackPos = state.dragging ? state.trackPos : state.pos;
  return true;
}

void MainWindow::syncBar(int bar) {
  QScrollBar* widget = bars_[bar];
  if (widget == nullptr) return;
  const ScrollBarState& state = scroll_[bar];
  const std::int64_t highest = std::max<std::int64_t>(HighestPosition(state), state.min);
  widget->setRange(state.min, static_cast<int>(highest));
  widget->setPageStep(static_cast<int>(std::min<UINT>(state.page, 0x7FFFFFFF)));
  widget->setSingleStep(1);
  widget->setValue(state.pos);
}

void MainWindow::onBarAction(int bar, int action) {
  QScrollBar* widget = bars_[bar];
  if (!alive_ || widget == nullptr) return;
  const UINT message = MessageFor(bar);
  int code = -1;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      code = SB_LINEDOWN;
      break;
    case QAbstractSlider::SliderSingleStepSub:
      code = SB_LINEUP;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = SB_PAGEDOWN;
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = SB_PAGEUP;
      break;
    case QAbstractSlider::SliderToMinimum:
      code = SB_TOP;
      break;
    case QAbstractSlider::SliderToMaximum:
      code = SB_BOTTOM;
      break;
    case QAbstractSlider::SliderMove:
      if (widget->isSliderDown()) {
        ScrollBarState& state = scroll_[bar];
        state.dragging = true;
        state.trackPos = widget->sliderPosition();
        send(message, Request(SB_THUMBTRACK, state.trackPos), 0);
        if (alive_) syncBar(bar);
        return;
      } else {
        // The wheel: Windows scrolls a bar by lines.
        const int delta = widget->sliderPosition() - scroll_[bar].pos;
        const int lines = std::min(std::abs(delta), 64);
        for (int i = 0; i < lines && alive_; ++i)
          send(message, Request(delta > 0 ? SB_LINEDOWN : SB_LINEUP, 0), 0);
        if (lines > 0 && alive_) send(message, Request(SB_ENDSCROLL, 0), 0);
        if (alive_) syncBar(bar);
        return;
      }
    default:
      break;
  }
  if (code >= 0) send(message, Request(code, 0), 0);
  // A held mouse button ends its action on release; keys and calls end at once.
  if (code >= 0 && alive_ && !bars_[bar]->mouseHeld()) send(message, Request(SB_ENDSCROLL, 0), 0);
  if (alive_) syncBar(bar);
}

void MainWindow::onBarPressed(int bar) {
  ScrollBarState& state = scroll_[bar];
  state.dragging = true;
  state.trackPos = state.pos;
}

void MainWindow::onBarReleased(int bar) {
  ScrollBarState& state = scroll_[bar];
  if (!state.dragging) return;
  state.dragging = false;
  if (alive_) send(MessageFor(bar), Request(SB_THUMBPOSITION, state.trackPos), 0);
  if (alive_) syncBar(bar);
}

void MainWindow::onBarMouseDone(int bar) {
  if (!alive_) return;
  send(MessageFor(bar), Request(SB_ENDSCROLL, 0), 0);
  if (alive_) syncBar(bar);
}

}  // namespace korvanth::platform

namespace {

bool IsStandardBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

// Windows takes the record with or without its last field.
bool IsScrollInfoSize(UINT size) {
  return size == sizeof(SCROLLINFO) || size == sizeof(SCROLLINFO) - sizeof(int);
}

}  // namespace

int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL) {
  korvanth::platform::MainWindow* found = korvanth::platform::LiveMainWindow(window);
  if (found == nullptr || info == nullptr || !IsStandardBar(bar) || !IsScrollInfoSize(info->cbSize))
    return 0;
  return found->setScrollInfo(bar, *info);
}
