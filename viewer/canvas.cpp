// Painting the view: the zoomed picture, its contrast grid and the block under the pointer.
#include "viewer/canvas.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

#include "convert/block_placement.h"
#include "convert/layout_format.h"
#include "viewer/scroll_state.h"
#include "viewer/view_zoom.h"
#include "viewer/view_colours.h"

namespace korvanth {

namespace {

// The picture's cell under client pixel (x, y) at the view's zoom and offsets.
CursorCellState CellUnder(const ViewState& view, std::int64_t x, std::int64_t y) {
  // A cell is view.cell picture pixels: that many times the zoom in screen pixels.
  const std::int64_t cell = static_cast<std::int64_t>(std::max(view.cell, 1)) * view.zoom;
  return {static_cast<std::int32_t>((x + view.horizontal.offset) / cell),
          static_cast<std::int32_t>((y + view.vertical.offset) / cell)};
}

bool SameCell(CursorCellState a, CursorCellState b) {
  return a.column == b.column && a.row == b.row;
}

}  // namespace

void TrackCursor(HWND window, ViewState& view, WORD x, WORD y) {
  const CursorCellState under = CellUnder(view, x, y);
  // Both places at today's offsets: a view the keys scrolled does not count as a move.
  const bool sameCell =
      view.pointerSeen && SameCell(CellUnder(view, view.pointer.x, view.pointer.y), under);
  view.pointerSeen = true;
  view.pointer = POINT{x, y};
  if (view.heldByKeys && sameCell) return;
  view.heldByKeys = false;
  const CursorCellState before = view.cursor;
  view.cursor = under;
  // Only the cell shows: a move within it changes nothing on the screen.
  if (!SameCell(view.cursor, before)) InvalidateRect(window, nullptr, FALSE);
}

void ResizeViewCell(ViewState& view, int cell) {
  const std::int64_t from = std::max(view.cell, 1);
  const std::int64_t to = std::max(cell, 1);
  // Cells are counted from the picture's corner, never negative: plain division floors.
  view.cursor.column = static_cast<std::int32_t>(view.cursor.column * from / to);
  view.cursor.row = static_cast<std::int32_t>(view.cursor.row * from / to);
  view.cell = cell;
}

namespace {

// A pixel sum below 384 turns white, anything else black. Blue, green and red lead
// both the 24-bit and the 32-bit layouts.
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

void ContrastRow(BYTE* row, int bytesPerPixel, int x0, int x1, bool wholeRow, std::int64_t base,
                 std::uint32_t pitch) {
  if (wholeRow) {
    for (int x = x0; x < x1; ++x) ContrastPixel(row + bytesPerPixel * x);
    return;
  }
  const std::int64_t first = base;  // value for x = x0
  const std::int64_t last = base + (x1 - x0 - 1);
  if (first < 0 && last >= 0) {
    // The unsigned value wraps inside this row: test every pixel.
    for (int x = x0; x < x1; ++x)
      if (OnLine(x - x0, base, pitch)) ContrastPixel(row + bytesPerPixel * x);
    return;
  }
  const std::uint32_t start = static_cast<std::uint32_t>(first) % pitch;
  for (std::int64_t x = x0 + (start == 0 ? 0 : pitch - start); x < x1; x += pitch)
    ContrastPixel(row + bytesPerPixel * x);
}

// The grid works on 32-bit frames in place; anything else is locked as 24-bit pixels.
PixelFormat GridLockFormat(ImageHandle& bitmap) {
  PixelFormat format = 0;
  if (GdipGetImagePixelFormat(bitmap.image(), &format) == Ok &&
      (format == PixelFormat32bppRGB || format == PixelFormat32bppARGB))
    return format;
  return PixelFormat24bppRGB;
}

}  // namespace

GpStatus DrawContrastGrid(ImageHandle* bitmap, GridArea area, int percent, GridCell cell,
                          GridOffset offset, GridOffset scroll, UiLanguage language) {
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
  const PixelFormat lockFormat = GridLockFormat(*bitmap);
  const int bytesPerPixel = lockFormat == PixelFormat24bppRGB ? 3 : 4;
  const GpStatus locked = bitmap->Record(GdipBitmapLockBits(
      bitmap->bitmap(), &lockRect, ImageLockModeRead | ImageLockModeWrite, lockFormat, &data));
  if (locked != Ok) {
    MessageBoxA(GetFocus(), InLanguage(kLockFailedMessage, language), "", MB_OK);
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
  const std::int64_t baseX = scroll.x + phaseX;
  const std::int64_t baseY = scroll.y + phaseY;

  auto* first = static_cast<BYTE*>(data.Scan0);
  for (INT y = std::max(y0, 0); y < y1; ++y) {
    BYTE* row = first + static_cast<std::ptrdiff_t>(y) * data.Stride;
    const bool rowIsLine = linesY && OnLine(y - y0, baseY, static_cast<std::uint32_t>(pitchY));
    if (!rowIsLine && !linesX) continue;
    ContrastRow(row, bytesPerPixel, std::max(x0, 0), x1, rowIsLine, baseX + (std::max(x0, 0) - x0),
                linesX ? static_cast<std::uint32_t>(pitchX) : 1u);
  }

  const GpStatus unlocked = bitmap->Record(GdipBitmapUnlockBits(bitmap->bitmap(), &data));
  if (unlocked != Ok)
    MessageBoxA(GetFocus(), InLanguage(kUnlockFailedMessage, language), "", MB_OK);
  return unlocked;
}

namespace {

// The picture at the current zoom, composited over the background that `surface` was
// filled with. At 1x it is drawn pixel for pixel; zoomed, only the picture pixels that
// reach the frame are composited over the background at their own size, and that
// opaque block is then scaled up by nearest neighbour (every picture pixel becomes a
// square of zoom x zoom screen pixels).
void DrawPicture(GraphicsHandle& surface, const ViewState& view, const CanvasPicture& picture,
                 ARGB background, INT width, INT height) {
  const int zoom = view.zoom;
  const INT pictureWidth = picture.width;
  const INT pictureHeight = picture.height;
  if (zoom == 1) {
    surface.Record(GdipDrawImageRectI(surface.graphics(), picture.image->image(),
                                      -view.horizontal.offset, -view.vertical.offset, pictureWidth,
                                      pictureHeight));
    return;
  }
  const std::int64_t offsetX = view.horizontal.offset;
  const std::int64_t offsetY = view.vertical.offset;
  const std::int64_t left = std::clamp<std::int64_t>(offsetX / zoom, 0, pictureWidth);
  const std::int64_t top = std::clamp<std::int64_t>(offsetY / zoom, 0, pictureHeight);
  const std::int64_t right =
      std::clamp<std::int64_t>((offsetX + width + zoom - 1) / zoom, left, pictureWidth);
  const std::int64_t bottom =
      std::clamp<std::int64_t>((offsetY + height + zoom - 1) / zoom, top, pictureHeight);
  const INT visibleWidth = static_cast<INT>(right - left);
  const INT visibleHeight = static_cast<INT>(bottom - top);
  if (visibleWidth <= 0 || visibleHeight <= 0) return;

  ImageHandle visible = ImageHandle::FromScan0(visibleWidth, visibleHeight, PixelFormat32bppRGB);
  if (visible.empty()) {
    // No room for the picture: the background at least, so no pixel is left undrawn.
    BrushHandle fill = BrushHandle::Solid(background);
    surface.Record(GdipFillRectangleI(surface.graphics(), fill.brush(), 0, 0, width, height));
    return;
  }
  {
    GraphicsHandle composer = GraphicsHandle::FromImage(visible);
    BrushHandle fill = BrushHandle::Solid(background);
    composer.Record(
        GdipFillRectangleI(composer.graphics(), fill.brush(), 0, 0, visibleWidth, visibleHeight));
    composer.Record(GdipDrawImagePointRectI(composer.graphics(), picture.image->image(), 0, 0,
                                            static_cast<INT>(left), static_cast<INT>(top),
                                            visibleWidth, visibleHeight, UnitPixel));
  }
  surface.Record(GdipSetInterpolationMode(surface.graphics(), InterpolationModeNearestNeighbor));
  surface.Record(GdipSetPixelOffsetMode(surface.graphics(), PixelOffsetModeHalf));
  surface.Record(GdipDrawImageRectRectI(
      surface.graphics(), visible.image(), static_cast<INT>(left * zoom - offsetX),
      static_cast<INT>(top * zoom - offsetY), visibleWidth * zoom, visibleHeight * zoom, 0, 0,
      visibleWidth, visibleHeight, UnitPixel, nullptr, nullptr, nullptr));
}

// The background behind the picture. At 1x all of the frame, since the picture's own
// transparent pixels show it; zoomed, the picture arrives already composited over it, so
// only the strips beside and below the picture need it.
void FillBackground(GraphicsHandle& surface, const ViewState& view, const CanvasPicture& picture,
                    BrushHandle& background, INT width, INT height) {
  const int zoom = view.zoom;
  if (zoom == 1) {
    surface.Record(GdipFillRectangleI(surface.graphics(), background.brush(), 0, 0, width, height));
    return;
  }
  // Where the picture ends on screen; it starts at or left of the frame's edge.
  const std::int64_t right =
      static_cast<std::int64_t>(picture.width) * zoom - view.horizontal.offset;
  const std::int64_t bottom =
      static_cast<std::int64_t>(picture.height) * zoom - view.vertical.offset;
  const INT covered = static_cast<INT>(std::clamp<std::int64_t>(right, 0, width));
  const INT coveredDown = static_cast<INT>(std::clamp<std::int64_t>(bottom, 0, height));
  if (covered < width)
    surface.Record(GdipFillRectangleI(surface.graphics(), background.brush(), covered, 0,
                                      width - covered, height));
  if (coveredDown < height)
    surface.Record(GdipFillRectangleI(surface.graphics(), background.brush(), 0, coveredDown,
                                      covered, height - coveredDown));
}

// A frame side beyond this is left to the bitmap's own allocation and its limits.
constexpr LONG kMaxFrameSide = 16384;

// A picture-pixel position on screen at the current zoom, held to what INT can carry.
INT ToScreen(std::int64_t picture, int zoom, std::int32_t offset) {
  const std::int64_t screen = picture * zoom - offset;
  return static_cast<INT>(std::clamp<std::int64_t>(screen, std::numeric_limits<INT>::min() / 2,
                                                   std::numeric_limits<INT>::max() / 2));
}

}  // namespace

SelectionPoint BlockOriginUnderPointer(CursorCellState cursor, SheetLayout layout,
                                       const CanvasPicture& picture) {
  // A pointer cell is at most 2^26 cells from the corner: it always places.
  return PlaceBlockOnCell(cursor.column, cursor.row, SelectionBlockSize(layout),
                          PixelSize{picture.width, picture.height}, layout.tileSize)
      .value_or(SelectionPoint{});
}

void PaintView(HDC dc, const ViewState& view, const CanvasScene& scene) {
  const RECT client = view.client;
  GraphicsHandle window = GraphicsHandle::FromHDC(dc);
  const CanvasPicture& picture = scene.picture;
  if (picture.image == nullptr) return;

  // Kept in the window's own 32-bit layout: no packing to 24 bits and back on the way.
  // Its memory is not cleared first: the background and the picture cover every pixel.
  std::unique_ptr<BYTE[]> framePixels;
  if (client.right > 0 && client.bottom > 0 && client.right <= kMaxFrameSide &&
      client.bottom <= kMaxFrameSide)
    framePixels.reset(new (std::nothrow)
                          BYTE[static_cast<std::size_t>(client.right) * client.bottom * 4]);
  ImageHandle frame =
      framePixels ? ImageHandle::FromScan0(client.right, client.bottom, client.right * 4,
                                           PixelFormat32bppRGB, framePixels.get())
                  : ImageHandle::FromScan0(client.right, client.bottom, PixelFormat32bppRGB);
  GraphicsHandle surface = GraphicsHandle::FromImage(frame);

  const INT height = static_cast<INT>(frame.Height());
  const INT width = static_cast<INT>(frame.Width());
  surface.Record(GdipSetClipRectI(surface.graphics(), 0, 0, width, height, CombineModeReplace));

  const ARGB backgroundColour = ColourToArgb(view.colours[kBackgroundColour]);
  BrushHandle background = BrushHandle::Solid(backgroundColour);
  FillBackground(surface, view, picture, background, width, height);

  DrawPicture(surface, view, picture, backgroundColour, width, height);

  // One pixel more than the picture, so the closing line past its edge is drawn. Lines
  // stay one screen pixel wide at every zoom, on the picture's cell boundaries.
  const int zoom = view.zoom;
  const INT gridWidth = std::min(width, ZoomedExtent(picture.width, zoom) + 1);
  const INT gridHeight = std::min(height, ZoomedExtent(picture.height, zoom) + 1);
  DrawContrastGrid(&frame, {0, 0, gridWidth, gridHeight}, 100 * zoom, {view.cell, view.cell},
                   {0, 0}, {view.horizontal.offset, view.vertical.offset}, scene.language);
  DrawBlockOutlines(surface, view, scene.outlines, width, height);

  const PixelSize block = SelectionBlockSize(scene.layout);
  // The block covers exactly the picture pixels it converts.
  const INT blockX = ToScreen(scene.origin.x, zoom, view.horizontal.offset);
  const INT blockY = ToScreen(scene.origin.y, zoom, view.vertical.offset);
  const INT blockWidth = block.width * zoom;
  const INT blockHeight = block.height * zoom;

  {
    BrushHandle fill = BrushHandle::Solid(ColourToArgbAlpha(view.colours[kFrameColour], 128));
    surface.Record(GdipFillRectangleI(surface.graphics(), fill.brush(), blockX, blockY, blockWidth,
                                      blockHeight));
  }
  {
    PenHandle outline =
        PenHandle::Create(ColourToArgb(view.colours[kFrameColour]), 2.0f, UnitWorld);
    surface.Record(GdipDrawRectangleI(surface.graphics(), outline.pen(), blockX, blockY, blockWidth,
                                      blockHeight));
  }

  const INT frameHeight = static_cast<INT>(frame.Height());
  const INT frameWidth = static_cast<INT>(frame.Width());
  window.Record(
      GdipDrawImageRectI(window.graphics(), frame.image(), 0, 0, frameWidth, frameHeight));

  surface.Record(GdipResetClip(surface.graphics()));
}

}  // namespace korvanth
