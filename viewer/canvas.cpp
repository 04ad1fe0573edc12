#include "viewer/canvas.h"

#include <algorithm>
#include <cstdint>

#include "convert/block_placement.h"
#include "convert/layout_format.h"
#include "viewer/scroll_state.h"
#include "viewer/view_colours.h"

using namespace korvanth;

CursorCellState CursorCell;

void TrackCursor(HWND window, WORD x, WORD y) {
  CursorCell.column = (static_cast<std::int32_t>(x) + HorizontalScroll.offset) / kGridCell;
  CursorCell.row = (static_cast<std::int32_t>(y) + VerticalScroll.offset) / kGridCell;
  InvalidateRect(window, nullptr, FALSE);
}

namespace {

// A pixel sum below 384 turns white, anything else black.
inline void ContrastPixel(BYTE* pixel) {
  const int sum = pixel[0] + pixel[1] + pixel[2];
  const BYTE value = sum < 384 ? 255 : 0;
  pixel[0] = value;
  pixel[1] = value;
  pixel[2] = value;
}

// Whether (index + base), taken as an unsigned 32-bit number, is a multiple of pitch.
inline bool OnLine(std::int64_t index, std::int64_t base, std::uint32_t pitch) {
  return static_cast<std::uint32_t>(index + base) % pitch == 0;
}

void ContrastRow(BYTE* row, int x0, int x1, bool wholeRow, std::int64_t base, std::uint32_t pitch) {
  if (wholeRow) {
    for (int x = x0; x < x1; ++x) ContrastPixel(row + 3 * x);
    return;
  }
  const std::int64_t first = base;  // value for x = x0
  const std::int64_t last = base + (x1 - x0 - 1);
  if (first < 0 && last >= 0) {
    // The unsigned value wraps inside this row: test every pixel.
    for (int x = x0; x < x1; ++x)
      if (OnLine(x - x0, base, pitch)) ContrastPixel(row + 3 * x);
    return;
  }
  const std::uint32_t start = static_cast<std::uint32_t>(first) % pitch;
  for (std::int64_t x = x0 + (start == 0 ? 0 : pitch - start); x < x1; x += pitch)
    ContrastPixel(row + 3 * x);
}

}  // namespace

GpStatus DrawContrastGrid(ImageHandle* bitmap, GridArea area, int percent, GridCell cell,
                          GridOffset offset) {
  if (bitmap == nullptr || percent == 0 || (cell.width == 0 && cell.height == 0)) {
    return GenericError;
  }
  if (cell.width == 0) cell.width = static_cast<INT>(bitmap->Width());
  if (cell.height == 0) cell.height = static_cast<INT>(bitmap->Height());

  const INT x0 = area.x;
  const INT y0 = area.y;
  const INT x1 = x0 + area.width;
  const INT y1 = y0 + area.height;

  GpRect lockRect{0, 0, x1, y1};
  BitmapData data{};
  const GpStatus locked = bitmap->Record(GdipBitmapLockBits(bitmap->bitmap(), &lockRect,
                                                            ImageLockModeRead | ImageLockModeWrite,
                                                            PixelFormat24bppRGB, &data));
  if (locked != Ok) {
    MessageBoxA(GetFocus(), kLockFailedMessage, "", MB_OK);
    return locked;
  }

  int scale = percent / 100;
  if (scale == 0) scale = 1;
  const std::int64_t pitchX = static_cast<std::int64_t>(cell.width) * scale;
  const std::int64_t pitchY = static_cast<std::int64_t>(cell.height) * scale;
  // A pitch that does not fit the unsigned test (0 or beyond 32 bits) draws no lines.
  const bool linesX = pitchX > 0 && pitchX <= UINT32_MAX;
  const bool linesY = pitchY > 0 && pitchY <= UINT32_MAX;
  const std::int64_t phaseX = linesX ? (static_cast<std::int64_t>(offset.x) * scale) % pitchX : 0;
  const std::int64_t phaseY = linesY ? (static_cast<std::int64_t>(offset.y) * scale) % pitchY : 0;
  const std::int64_t baseX = HorizontalScroll.offset + phaseX;
  const std::int64_t baseY = VerticalScroll.offset + phaseY;

  auto* first = static_cast<BYTE*>(data.Scan0);
  for (INT y = std::max(y0, 0); y < y1; ++y) {
    BYTE* row = first + static_cast<std::ptrdiff_t>(y) * data.Stride;
    const bool rowIsLine = linesY && OnLine(y - y0, baseY, static_cast<std::uint32_t>(pitchY));
    if (!rowIsLine && !linesX) continue;
    ContrastRow(row, std::max(x0, 0), x1, rowIsLine, baseX + (std::max(x0, 0) - x0),
                linesX ? static_cast<std::uint32_t>(pitchX) : 1u);
  }

  const GpStatus unlocked = bitmap->Record(GdipBitmapUnlockBits(bitmap->bitmap(), &data));
  if (unlocked != Ok) MessageBoxA(GetFocus(), kUnlockFailedMessage, "", MB_OK);
  return unlocked;
}

void PaintView(HDC dc, CursorCellState cursor, RECT client) {
  GraphicsHandle window = GraphicsHandle::FromHDC(dc);
  if (!SourceImage.exists()) return;

  ImageHandle frame = ImageHandle::FromScan0(client.right, client.bottom, PixelFormat24bppRGB);
  GraphicsHandle surface = GraphicsHandle::FromImage(frame);

  const INT height = static_cast<INT>(frame.Height());
  const INT width = static_cast<INT>(frame.Width());
  surface.Record(GdipSetClipRectI(surface.graphics(), 0, 0, width, height, CombineModeReplace));

  BrushHandle background = BrushHandle::Solid(ColourToArgb(ViewColours[kBackgroundColour]));
  surface.Record(GdipFillRectangleI(surface.graphics(), background.brush(), 0, 0, width, height));

  const INT pictureWidth = SourceImage.width;
  const INT pictureHeight = SourceImage.height;
  surface.Record(GdipDrawImageRectI(surface.graphics(), SourceImage.image->image(),
                                    -HorizontalScroll.offset, -VerticalScroll.offset, pictureWidth,
                                    pictureHeight));

  // One pixel more than the picture, so the closing line past its edge is drawn.
  const INT gridWidth = std::min(width, pictureWidth + 1);
  const INT gridHeight = std::min(height, pictureHeight + 1);
  DrawContrastGrid(&frame, {0, 0, gridWidth, gridHeight}, 100, {kGridCell, kGridCell}, {0, 0});

  const PixelSize block = SelectionBlockSize(CurrentLayoutFormat);
  const auto placed =
      korvanth::PlaceBlockOnCell(cursor.column, cursor.row, block, {pictureWidth, pictureHeight});
  if (placed) SelectionOrigin = *placed;
  const INT blockX = SelectionOrigin.x - HorizontalScroll.offset;
  const INT blockY = SelectionOrigin.y - VerticalScroll.offset;

  {
    BrushHandle fill = BrushHandle::Solid(ColourToArgbAlpha(ViewColours[kFrameColour], 128));
    surface.Record(GdipFillRectangleI(surface.graphics(), fill.brush(), blockX, blockY, block.width,
                                      block.height));
  }
  {
    PenHandle outline = PenHandle::Create(ColourToArgb(ViewColours[kFrameColour]), 2.0f, UnitWorld);
    surface.Record(GdipDrawRectangleI(surface.graphics(), outline.pen(), blockX, blockY,
                                      block.width, block.height));
  }

  const INT frameHeight = static_cast<INT>(frame.Height());
  const INT frameWidth = static_cast<INT>(frame.Width());
  window.Record(
      GdipDrawImageRectI(window.graphics(), frame.image(), 0, 0, frameWidth, frameHeight));

  surface.Record(GdipResetClip(surface.graphics()));
}
