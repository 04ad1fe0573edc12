// Scroll state in the two scroll bars: ranges, pages, requests clamped, contents shifted.
#include "viewer/scroll_state.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "viewer/view_zoom.h"

namespace korvanth {

namespace {

constexpr UINT kFullMask = SIF_RANGE | SIF_PAGE | SIF_POS;

// Moves the pixels already in the client area by the change of both offsets, without
// asking for a repaint.
void ShiftContents(HWND window, ViewState& view) {
  ScrollWindowEx(window, view.horizontal.shiftedOffset - view.horizontal.offset,
                 view.vertical.shiftedOffset - view.vertical.offset, nullptr, nullptr, nullptr,
                 nullptr, 0);
  view.horizontal.shiftedOffset = view.horizontal.offset;
  view.vertical.shiftedOffset = view.vertical.offset;
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
void ApplyScrollInfo(HWND window, ViewState& view, ScrollAxis& axis, int bar) {
  const unsigned generation = view.resizeGeneration;
  const int offset = SetScrollInfo(window, bar, &axis.info, FALSE);
  if (generation == view.resizeGeneration) axis.offset = offset;
}

}  // namespace

void InitScrollBars(HWND window, ViewState& view) {
  for (auto [axis, bar] :
       {std::pair{&view.vertical, SB_VERT}, std::pair{&view.horizontal, SB_HORZ}}) {
    axis->info = SCROLLINFO{};
    axis->info.cbSize = sizeof(SCROLLINFO);
    axis->info.fMask = kFullMask;
    SetScrollInfo(window, bar, &axis->info, TRUE);
  }
}

void SetScrollExtent(HWND window, ViewState& view, int width, int height) {
  // Ranges are in screen pixels: the picture's size at the current zoom.
  view.horizontal.info.nMax = ZoomedExtent(width, view.zoom) - 1;
  ApplyScrollInfo(window, view, view.horizontal, SB_HORZ);
  view.vertical.info.nMax = ZoomedExtent(height, view.zoom) - 1;
  ApplyScrollInfo(window, view, view.vertical, SB_VERT);
  ShiftContents(window, view);
}

void ResizeView(HWND window, ViewState& view, int width, int height) {
  const unsigned generation = ++view.resizeGeneration;
  RECT client{};
  GetClientRect(window, &client);
  client.bottom = std::max<LONG>(0, client.bottom - view.reservedBottom);
  if (client.right > 0 && client.bottom > 0) {
    const std::pair<ScrollAxis*, int> axes[] = {{&view.horizontal, SB_HORZ},
                                                {&view.vertical, SB_VERT}};
    for (auto [axis, bar] : axes) {
      axis->info.nPage = static_cast<UINT>(bar == SB_HORZ ? client.right : client.bottom);
      if (static_cast<UINT>(axis->info.nMax) <= axis->info.nPage) axis->info.nPos = 0;
      ApplyScrollInfo(window, view, *axis, bar);
      // A bar that appeared or vanished resized the client area meanwhile, and the
      // nested resize has already brought everything up to date.
      if (generation != view.resizeGeneration) return;
    }
    ShiftContents(window, view);
  }
  view.client = RECT{0, 0, width, std::max(0, height - view.reservedBottom)};
}

void SetScrollView(HWND window, ViewState& view, int extentX, int extentY, std::int64_t positionX,
                   std::int64_t positionY) {
  view.horizontal.info.nMax = extentX - 1;
  view.vertical.info.nMax = extentY - 1;
  const std::pair<ScrollAxis*, std::int64_t> axes[] = {{&view.horizontal, positionX},
                                                       {&view.vertical, positionY}};
  for (auto [axis, position] : axes)
    axis->info.nPos = static_cast<int>(std::clamp<std::int64_t>(
        position, 0, std::max<std::int64_t>(0, static_cast<std::int64_t>(axis->info.nMax))));
  for (auto [axis, bar] :
       {std::pair{&view.horizontal, SB_HORZ}, std::pair{&view.vertical, SB_VERT}}) {
    const unsigned generation = view.resizeGeneration;
    const int offset = SetScrollInfo(window, bar, &axis->info, TRUE);
    if (generation == view.resizeGeneration) axis->offset = offset;
  }
  // The platform clamped the positions against the pages that hold now (a bar that
  // appeared made a page smaller); a new zoom starts from where the view stands.
  for (ScrollAxis* axis : {&view.horizontal, &view.vertical}) axis->info.nPos = axis->offset;
  view.horizontal.shiftedOffset = view.horizontal.offset;
  view.vertical.shiftedOffset = view.vertical.offset;
}

void ScrollHorz(HWND window, ViewState& view, WPARAM request) {
  Scroll(window, view.horizontal, SB_HORZ, request);
}

void ScrollVert(HWND window, ViewState& view, WPARAM request) {
  Scroll(window, view.vertical, SB_VERT, request);
}

}  // namespace korvanth
