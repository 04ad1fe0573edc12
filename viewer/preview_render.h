// The sheet preview's pixels: the sheet that a click would save, over a light and dark
// checkerboard so that its transparent pixels show, drawn enlarged by a whole scale.
#pragma once

#include "convert/picture_file.h"
#include "convert/layout_format.h"
#include "imaging/handles.h"
#include "platform/win32_api.h"

namespace korvanth {

// Screen pixels per sheet pixel: up to this many, and no more than keep the preview within
// kPreviewMaxHeight; at least one, however tall the sheet.
inline constexpr int kMaxPreviewScale = 4;
// The tallest sheet the window makes (complete 地形2 at 64-pixel tiles) at one screen pixel
// per sheet pixel: the preview grows to it at most, so it fits a screen of 900 rows.
inline constexpr int kPreviewMaxHeight = 832;
// Side of a checkerboard square in sheet pixels.
inline constexpr int kCheckerSquare = 4;
inline constexpr ARGB kCheckerLight = 0xFFE6E6E6;
inline constexpr ARGB kCheckerDark = 0xFF9A9A9A;
// Left of and below a smaller sheet, the preview shows this colour.
inline constexpr ARGB kPreviewMargin = 0xFF808080;

// The checkerboard colour under sheet pixel (x, y): light where the top-left square is.
ARGB CheckerColour(int x, int y);

// How the preview shows the sheets of one tile size and complete setting, whatever their
// format: its scale, and the client size that holds the largest of them at that scale. The
// window keeps one size while only the format changes.
struct PreviewFrame {
  int scale;
  PixelSize client;
  friend constexpr bool operator==(PreviewFrame, PreviewFrame) = default;
};
PreviewFrame PreviewFrameFor(int tileSize, bool complete);

// Builds the sheet of `layout` from the block at `origin` of `source` (the same build as
// a save) and composes it over the checkerboard: an opaque 32-bit image of the sheet's
// size. Empty when a bitmap could not be made.
ImageHandle ComposePreview(SheetLayout layout, ImageHandle& source, SelectionPoint origin);

// Draws `composed` (may be null or empty) at `scale` at the client area's top-left
// corner, nearest neighbour, and the margin colour around it.
void PaintPreview(HDC dc, ImageHandle* composed, RECT client, int scale);

}  // namespace korvanth
