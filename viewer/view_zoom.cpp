// Zoom from 1x to 8x: zoomed extents and rezooming around an anchor pixel.
#include "viewer/view_zoom.h"

#include <algorithm>
#include <limits>

#include "viewer/scroll_state.h"

namespace korvanth {

int ClampZoom(int zoom) { return std::clamp(zoom, kMinZoom, kMaxZoom); }

int ZoomedExtent(std::int32_t extent, int zoom) {
  const std::int64_t zoomed = static_cast<std::int64_t>(extent) * zoom;
  return static_cast<int>(std::min<std::int64_t>(zoomed, std::numeric_limits<int>::max()));
}

namespace {

// The screen position, at the new zoom, of the point that lies at `screen` at the old
// one: the same picture pixel, at the same place within it.
std::int64_t Rezoom(std::int64_t screen, int from, int to) {
  const std::int64_t pixel = screen >= 0 ? screen / from : -((-screen + from - 1) / from);
  const std::int64_t within = screen - pixel * from;
  return pixel * to + within * to / from;
}

}  // namespace

void SetViewZoom(HWND window, ViewState& view, int zoom, POINT anchor,
                 const CanvasPicture& picture) {
  const int from = view.zoom;
  const int to = ClampZoom(zoom);
  if (to == from) return;
  view.zoom = to;
  if (picture.image != nullptr) {
    const std::int64_t x =
        Rezoom(static_cast<std::int64_t>(anchor.x) + view.horizontal.offset, from, to) - anchor.x;
    const std::int64_t y =
        Rezoom(static_cast<std::int64_t>(anchor.y) + view.vertical.offset, from, to) - anchor.y;
    SetScrollView(window, view, ZoomedExtent(picture.width, to), ZoomedExtent(picture.height, to),
                  x, y);
  }
  InvalidateRect(window, nullptr, FALSE);
}

POINT ClientCentre(const ViewState& view) {
  return POINT{view.client.right / 2, view.client.bottom / 2};
}

}  // namespace korvanth
