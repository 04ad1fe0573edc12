// Filled rectangles and pen outlines.
#include <cmath>

#include "imaging/linux/draw_target.h"

namespace korvanth::imaging {

Gdiplus::GpStatus PrepareTarget(Gdiplus::GpGraphics* graphics, DrawTarget& out) {
  auto* g = static_cast<LinuxGraphics*>(graphics);
  if (g == nullptr || g->target == nullptr) return Gdiplus::InvalidParameter;
  // A locked bitmap's pixels belong to the lock holder until it is unlocked.
  if (g->owner != nullptr && g->owner->lock.active) return Gdiplus::WrongState;
  if (g->target->isNull()) return Gdiplus::InvalidParameter;
  out.layout = g->target->layout();
  out.bytesPerPixel = g->target->bytesPerPixel();
  out.area = g->DrawableArea();
  if (!out.area.empty()) {
    out.bits = g->target->bits();
    out.stride = g->target->stride();
  }
  return Gdiplus::Ok;
}

namespace {

void FillBox(const DrawTarget& target, Box box, Gdiplus::ARGB colour) {
  box = box.intersected(target.area);
  if (box.empty()) return;
  FillRows(target.layout, target.At(box.left, box.top), target.stride, colour, box.right - box.left,
           box.bottom - box.top);
}

// The pixels a pen of this width covers around an edge: pixel centres lie on whole
// coordinates, the band is [edge - width/2, edge + width/2), and at least one pixel wide.
struct Band {
  std::int64_t first;
  std::int64_t end;
};

Band PenBand(std::int64_t edge, double width) {
  const double half = width / 2.0;
  Band band{static_cast<std::int64_t>(std::ceil(static_cast<double>(edge) - half)),
            static_cast<std::int64_t>(std::ceil(static_cast<double>(edge) + half))};
  if (band.end <= band.first) band.end = band.first + 1;
  return band;
}

}  // namespace

}  // namespace korvanth::imaging

namespace Gdiplus::DllExports {

using korvanth::imaging::Box;
using korvanth::imaging::DrawTarget;
using korvanth::imaging::LinuxPen;
using korvanth::imaging::LinuxSolidFill;

GpStatus GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width,
                            INT height) {
  if (brush == nullptr) return InvalidParameter;
  DrawTarget target;
  if (GpStatus status = korvanth::imaging::PrepareTarget(graphics, target); status != Ok)
    return status;
  if (width <= 0 || height <= 0 || target.bits == nullptr) return Ok;
  const ARGB colour = static_cast<LinuxSolidFill*>(static_cast<GpSolidFill*>(brush))->colour;
  korvanth::imaging::FillBox(target, Box::FromXYWH(x, y, width, height), colour);
  return Ok;
}

GpStatus GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height) {
  if (pen == nullptr) return InvalidParameter;
  DrawTarget target;
  if (GpStatus status = korvanth::imaging::PrepareTarget(graphics, target); status != Ok)
    return status;
  if (width < 0 || height < 0 || target.bits == nullptr) return Ok;
  const auto* p = static_cast<LinuxPen*>(pen);
  using korvanth::imaging::PenBand;
  const auto left = PenBand(x, p->width);
  const auto right = PenBand(std::int64_t{x} + width, p->width);
  const auto top = PenBand(y, p->width);
  const auto bottom = PenBand(std::int64_t{y} + height, p->width);

  // Row by row, the covered pixels form one or two spans; each pixel is blended once,
  // corners included, even when the bands overlap on a small rectangle.
  const std::int64_t rowFirst = std::max(top.first, target.area.top);
  const std::int64_t rowEnd = std::min(bottom.end, target.area.bottom);
  for (std::int64_t row = rowFirst; row < rowEnd; ++row) {
    const bool horizontalEdge =
        (row >= top.first && row < top.end) || (row >= bottom.first && row < bottom.end);
    Box spans[2];
    int count = 0;
    if (horizontalEdge || left.end >= right.first) {
      spans[count++] = Box{left.first, row, right.end, row + 1};
    } else {
      spans[count++] = Box{left.first, row, left.end, row + 1};
      spans[count++] = Box{right.first, row, right.end, row + 1};
    }
    for (int i = 0; i < count; ++i) korvanth::imaging::FillBox(target, spans[i], p->colour);
  }
  return Ok;
}

}  // namespace Gdiplus::DllExports
