// The sheet preview's pixels: the sheet that a click would save, over a light and dark
// checkerboard so that its transparent pixels show, drawn at twice its size.
#pragma once

#include "convert/picture_file.h"
#include "convert/layout_format.h"
#include "imaging/handles.h"
#include "platform/win32_api.h"

namespace korvanth {

// Screen pixels per sheet pixel in the preview.
inline constexpr int kPreviewScale = 2;
// Side of a checkerboard square in sheet pixels (8 screen pixels in the preview).
inline constexpr int kCheckerSquare = 4;
inline constexpr ARGB kCheckerLight = 0xFFE6E6E6;
inline constexpr ARGB kCheckerDark = 0xFF9A9A9A;
// Left of and below a smaller sheet, the preview shows this colour.
inline constexpr ARGB kPreviewMargin = 0xFF808080;

// The checkerboard colour under sheet pixel (x, y): light where the top-left square is.
ARGB CheckerColour(int x, int y);

// The client size that holds the largest sheet at the preview's scale.
PixelSize PreviewClientSize();

// Builds the sheet of `layout` from the block at `origin` of `source` (the same build as
// a save) and composes it over the checkerboard: an opaque 32-bit image of the sheet's
// size. Empty when a bitmap could not be made.
ImageHandle ComposePreview(SheetLayout layout, ImageHandle& source, SelectionPoint origin);

// Draws `composed` (may be null or empty) at the preview's scale at the client area's
// top-left corner, nearest neighbour, and the margin colour around it.
void PaintPreview(HDC dc, ImageHandle* composed, RECT client);

}  // namespace korvanth
