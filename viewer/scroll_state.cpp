#include "viewer/scroll_state.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "viewer/view_zoom.h"

namespace korvanth {

ScrollAxis HorizontalScroll{};
ScrollAxis VerticalScroll{};
RECT ViewClientRect{0, 0, 0, 0};

namespace {

constexpr UINT kFullMask = SIF_RANGE | SIF_PAGE | SIF_POS;

// Bumped by every resize, so that a resize interrupted by a nested one (a scroll bar that
// appears or disappears changes the client area from inside SetScrollInfo) does not
// overwrite the newer state with its stale size.
unsigned gResizeGeneration = 0;

// Moves the pixels already in the client area by the change of both offsets, without
// asking for a repaint.
void ShiftContents(HWND window) {
  ScrollWindowEx(window, HorizontalScroll.shiftedOffset - HorizontalScroll.offset,
                 VerticalScroll.shiftedOffset - VerticalScroll.offset, nullptr, nullptr, nullptr,
                 nullptr, 0);
  HorizontalScroll.shiftedOffset = HorizontalScroll.offset;
  VerticalScroll.shiftedOffset = VerticalScroll.offset;
}

// Requested positions move without a bound; they saturate instead of overflowing.
int AddSaturated(int position, std::int64_t delta) {
  const std::int64_t sum = static_cast<std::int64_t>(position) + delta;
  if (sum > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (sum < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(sum);
}

void ApplyRequest(SCROLLINFO& info, WPARAM request) {
  const int thumb = HIWORD(request);
  switch (LOWORD(request)) {
    case SB_LINEUP:
      if (info.nPos != 0) info.nPos = AddSaturated(info.nPos, -1);
      break;
    case SB_LINEDOWN:
      if (info.nPos < info.nMax - 1) info.nPos += 1;
      break;
    case SB_PAGEUP:
      info.nPos = AddSaturated(info.nPos, -static_cast<std::int64_t>(info.nPage));
      break;
    case SB_PAGEDOWN:
      info.nPos = AddSaturated(info.nPos, static_cast<std::int64_t>(info.nPage));
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      info.nPos = thumb;
      break;
    case SB_TOP:
      info.nPos = info.nMin;
      break;
    case SB_BOTTOM:
      info.nPos = info.nMax;
      break;
    default:
      break;
  }
}

void Scroll(HWND window, ScrollAxis& axis, int bar, WPARAM request) {
  ApplyRequest(axis.info, request);
  axis.offset = SetScrollInfo(window, bar, &axis.info, TRUE);
  if (axis.offset == axis.shiftedOffset) return;

  const int shift = axis.shiftedOffset - axis.offset;
  SendMessageA(window, WM_SETREDRAW, FALSE, 0);
  ScrollWindowEx(window, bar == SB_HORZ ? shift : 0, bar == SB_VERT ? shift : 0, nullptr, nullptr,
                 nullptr, nullptr, 0);
  SendMessageA(window, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(window, nullptr, FALSE);
  axis.shiftedOffset = axis.offset;
}

// Sets one bar and takes its answer as the axis offset, unless a resize ran from inside
// the call (the bar appeared or vanished): that resize has set the offset already.
void ApplyScrollInfo(HWND window, ScrollAxis& axis, int bar) {
  const unsigned generation = gResizeGeneration;
  const int offset = SetScrollInfo(window, bar, &axis.info, FALSE);
  if (generation == gResizeGeneration) axis.offset = offset;
}

}  // namespace

void InitScrollBars(HWND window) {
  for (auto [axis, bar] :
       {std::pair{&VerticalScroll, SB_VERT}, std::pair{&HorizontalScroll, SB_HORZ}}) {
    axis->info = SCROLLINFO{};
    axis->info.cbSize = sizeof(SCROLLINFO);
    axis->info.fMask = kFullMask;
    SetScrollInfo(window, bar, &axis->info, TRUE);
  }
}

void SetScrollExtent(HWND window, int width, int height) {
  // Ranges are in screen pixels: the picture's size at the current zoom.
  HorizontalScroll.info.nMax = ZoomedExtent(width, ViewZoom) - 1;
  ApplyScrollInfo(window, HorizontalScroll, SB_HORZ);
  VerticalScroll.info.nMax = ZoomedExtent(height, ViewZoom) - 1;
  ApplyScrollInfo(window, VerticalScroll, SB_VERT);
  ShiftContents(window);
}

void ResizeView(HWND window, int width, int height) {
  const unsigned generation = ++gResizeGeneration;
  RECT client{};
  GetClientRect(window, &client);
  if (client.right > 0 && client.bottom > 0) {
    const std::pair<ScrollAxis*, int> axes[] = {{&HorizontalScroll, SB_HORZ},
                                                {&VerticalScroll, SB_VERT}};
    for (auto [axis, bar] : axes) {
      axis->info.nPage = static_cast<UINT>(bar == SB_HORZ ? client.right : client.bottom);
      if (static_cast<UINT>(axis->info.nMax) <= axis->info.nPage) axis->info.nPos = 0;
      ApplyScrollInfo(window, *axis, bar);
      // A bar that appeared or vanished resized the client area meanwhile, and the
      // nested resize has already brought everything up to date.
      if (generation != gResizeGeneration) return;
    }
    ShiftContents(window);
  }
  ViewClientRect = RECT{0, 0, width, height};
}

void SetScrollView(HWND window, int extentX, int extentY, std::int64_t positionX,
                   std::int64_t positionY) {
  HorizontalScroll.info.nMax = extentX - 1;
  VerticalScroll.info.nMax = extentY - 1;
  const std::pair<ScrollAxis*, std::int64_t> axes[] = {{&HorizontalScroll, positionX},
                                                       {&VerticalScroll, positionY}};
  for (auto [axis, position] : axes)
    axis->info.nPos = static_cast<int>(std::clamp<std::int64_t>(
        position, 0, std::max<std::int64_t>(0, static_cast<std::int64_t>(axis->info.nMax))));
  for (auto [axis, bar] :
       {std::pair{&HorizontalScroll, SB_HORZ}, std::pair{&VerticalScroll, SB_VERT}}) {
    const unsigned generation = gResizeGeneration;
    const int offset = SetScrollInfo(window, bar, &axis->info, TRUE);
    if (generation == gResizeGeneration) axis->offset = offset;
  }
  // The platform clamped the positions against the pages that hold now (a bar that
  // appeared made a page smaller); a new zoom starts from where the view stands.
  for (ScrollAxis* axis : {&HorizontalScroll, &VerticalScroll}) axis->info.nPos = axis->offset;
  HorizontalScroll.shiftedOffset = HorizontalScroll.offset;
  VerticalScroll.shiftedOffset = VerticalScroll.offset;
}

void ScrollHorz(HWND window, WPARAM request) { Scroll(window, HorizontalScroll, SB_HORZ, request); }

void ScrollVert(HWND window, WPARAM request) { Scroll(window, VerticalScroll, SB_VERT, request); }

}  // namespace korvanth
