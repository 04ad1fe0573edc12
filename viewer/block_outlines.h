// The outlines the view draws around a picture's mapped blocks, in a colour per format.
#pragma once

#include <cstdint>
#include <span>

#include "convert/layout_format.h"
#include "imaging/gdiplus_api.h"
#include "imaging/handles.h"
#include "viewer/view_state.h"

namespace korvanth {

// A map line as the view outlines it: `frames` blocks of `size` side by side from (x, y),
// in picture pixels.
struct BlockOutline {
  std::int64_t x = 0;
  std::int64_t y = 0;
  PixelSize size{0, 0};
  std::int32_t frames = 1;
  LayoutFormat format = LayoutFormat::Terrain1;
};

// Each block's band is this many screen pixels wide, inside the block's edge, at every
// zoom: two blocks side by side show two bands.
inline constexpr int kOutlineWidth = 2;

// The colour of a format's outlines (opaque ARGB).
ARGB OutlineColour(LayoutFormat format);

// Fills the bands of the blocks that reach the `width` x `height` frame, placed at the
// view's zoom and scroll offsets as the picture is. A line out of sight costs a test,
// whatever its frame count.
void DrawBlockOutlines(GraphicsHandle& surface, const ViewState& view,
                       std::span<const BlockOutline> outlines, INT width, INT height);

}  // namespace korvanth
