// Outlining mapped blocks: one band of fills a block in sight, coloured by the block's format.
#include "viewer/block_outlines.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace korvanth {

namespace {

// In the format registry's order. Away from the selection block's red, the grid's black
// and white and the grey background, and apart from one another.
constexpr ARGB kOutlineColours[] = {
    0xFF00D8FF,  // terrain1: cyan
    0xFFFFD800,  // terrain2: yellow
    0xFFFF40FF,  // roof: magenta
};
static_assert(std::size(kOutlineColours) == std::size(kAllLayoutFormats));

// The frames [first, end) of a line whose first frame starts at screen x `start`, each
// `step` wide, that reach [0, width).
struct FrameRange {
  std::int64_t first;
  std::int64_t end;
};

FrameRange FramesInSight(std::int64_t start, std::int64_t step, std::int32_t frames, INT width) {
  if (start >= width) return {0, 0};
  const std::int64_t first = start >= 0 ? 0 : -start / step;
  const std::int64_t end = std::min<std::int64_t>(frames, (width - start + step - 1) / step);
  return {first, end};
}

void FillBand(GraphicsHandle& surface, BrushHandle& brush, std::int64_t x, std::int64_t y,
              std::int64_t width, std::int64_t height) {
  surface.Record(GdipFillRectangleI(surface.graphics(), brush.brush(), static_cast<INT>(x),
                                    static_cast<INT>(y), static_cast<INT>(width),
                                    static_cast<INT>(height)));
}

}  // namespace

ARGB OutlineColour(LayoutFormat format) {
  const auto index = static_cast<std::size_t>(format);
  return index < std::size(kOutlineColours) ? kOutlineColours[index] : kOutlineColours[0];
}

void DrawBlockOutlines(GraphicsHandle& surface, const ViewState& view,
                       std::span<const BlockOutline> outlines, INT width, INT height) {
  if (outlines.empty()) return;
  BrushHandle brushes[std::size(kAllLayoutFormats)];
  for (const LayoutFormat format : kAllLayoutFormats)
    brushes[static_cast<std::size_t>(format)] = BrushHandle::Solid(OutlineColour(format));
  const std::int64_t zoom = view.zoom;
  constexpr std::int64_t band = kOutlineWidth;
  for (const BlockOutline& outline : outlines) {
    const std::int64_t blockWidth = std::int64_t{outline.size.width} * zoom;
    const std::int64_t blockHeight = std::int64_t{outline.size.height} * zoom;
    const auto index = static_cast<std::size_t>(outline.format);
    if (blockWidth <= 2 * band || blockHeight <= 2 * band || index >= std::size(brushes)) continue;
    // Screen pixels stay within a few blocks of the frame from here on: INT holds them.
    const std::int64_t top = outline.y * zoom - view.vertical.offset;
    if (top >= height || top + blockHeight <= 0) continue;
    const std::int64_t start = outline.x * zoom - view.horizontal.offset;
    const FrameRange frames = FramesInSight(start, blockWidth, outline.frames, width);
    BrushHandle& brush = brushes[index];
    for (std::int64_t frame = frames.first; frame < frames.end; ++frame) {
      const std::int64_t left = start + frame * blockWidth;
      const std::int64_t right = left + blockWidth;
      const std::int64_t bottom = top + blockHeight;
      FillBand(surface, brush, left, top, blockWidth, band);
      FillBand(surface, brush, left, bottom - band, blockWidth, band);
      FillBand(surface, brush, left, top + band, band, blockHeight - 2 * band);
      FillBand(surface, brush, right - band, top + band, band, blockHeight - 2 * band);
    }
  }
}

}  // namespace korvanth
