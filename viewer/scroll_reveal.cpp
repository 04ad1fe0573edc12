// Scrolls the view as little as needed to bring an area of the picture into sight.
#include "viewer/scroll_reveal.h"

#include "viewer/scroll_state.h"

namespace korvanth {

std::int64_t RevealOffset(std::int64_t offset, std::int64_t page, std::int64_t start,
                          std::int64_t end, LongSpan longSpan) {
  if (end - start > page && longSpan == LongSpan::LeastScroll)
    return std::clamp(offset, start, end - page);
  if (start < offset || end - start > page) return start;
  if (end > offset + page) return end - page;
  return offset;
}

void RevealPictureArea(HWND window, ViewState& view, SelectionPoint corner, PixelSize size,
                       LongSpan longSpan) {
  const std::int64_t zoom = view.zoom;
  const std::int64_t x =
      RevealOffset(view.horizontal.offset, view.horizontal.info.nPage, corner.x * zoom,
                   (corner.x + std::int64_t{size.width}) * zoom, longSpan);
  const std::int64_t y =
      RevealOffset(view.vertical.offset, view.vertical.info.nPage, corner.y * zoom,
                   (corner.y + std::int64_t{size.height}) * zoom, longSpan);
  if (x == view.horizontal.offset && y == view.vertical.offset) return;
  // The ranges stay as they are: only the positions move.
  SetScrollView(window, view, view.horizontal.info.nMax + 1, view.vertical.info.nMax + 1, x, y);
  InvalidateRect(window, nullptr, FALSE);
}

}  // namespace korvanth
