// Filled rectangles and pen outlines: blending, exact coverage, pen widths, clip and edges.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "imaging/imaging_helpers.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

using Pixels = std::set<std::pair<int, int>>;

// The pixels that differ from the background.
Pixels Changed(const QImage& image, QRgb background) {
  Pixels changed;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != background) changed.insert({x, y});
  return changed;
}

// Columns [x0, x1) x rows [y0, y1).
void AddBlock(Pixels& pixels, int x0, int x1, int y0, int y1) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) pixels.insert({x, y});
}

QImage Outline(int size, ARGB colour, REAL width, int x, int y, int w, int h,
               QRgb background = 0xFF000000u) {
  ImageHandle bitmap = BitmapFrom(SolidImage(size, size, background), PixelFormat24bppRGB);
  GraphicsHandle graphics = GraphicsHandle::FromImage(bitmap);
  PenHandle pen = PenHandle::Create(colour, width, UnitWorld);
  EXPECT_EQ(pen.lastStatus(), Ok);
  EXPECT_EQ(GdipDrawRectangleI(graphics.graphics(), pen.pen(), x, y, w, h), Ok);
  return PixelsOf(bitmap);
}

TEST(FillRectangle, BlendsOverWhatIsThere) {
  const QRgb grey = 0xFF808080u;
  for (PixelFormat format : {PixelFormat24bppRGB, PixelFormat32bppRGB, PixelFormat32bppARGB}) {
    ImageHandle bitmap = BitmapFrom(SolidImage(8, 8, grey), format);
    GraphicsHandle graphics = GraphicsHandle::FromImage(bitmap);
    BrushHandle brush = BrushHandle::Solid(0x80FF0000u);
    ASSERT_EQ(GdipFillRectangleI(graphics.graphics(), brush.brush(), 2, 2, 4, 3), Ok);
    const QImage pixels = PixelsOf(bitmap);
    Pixels expected;
    AddBlock(expected, 2, 6, 2, 5);
    EXPECT_EQ(Changed(pixels, grey), expected);
    EXPECT_EQ(pixels.pixel(3, 3), OverOpaque(0x80FF0000u, grey)) << format;
    EXPECT_EQ(pixels.pixel(3, 3), 0xFFC04040u);
  }
}

TEST(FillRectangle, OpaqueColourCoversEveryRowOfTheRectangleExactly) {
  const QRgb grey = 0xFF808080u;
  const ARGB colour = 0xFF3A7BC4u;
  struct Case {
    int size;
    int x, y, width, height;  // the rectangle asked for
    int clipX, clipY, clipWidth, clipHeight;
  };
  // One row, two rows, odd and wide widths, a rectangle cut by the bitmap's edges, and
  // one cut by a clip to part of each row.
  const Case cases[] = {
      {9, 1, 1, 7, 1, 0, 0, 9, 9},      {9, 2, 3, 5, 2, 0, 0, 9, 9},
      {41, 3, 2, 37, 30, 0, 0, 41, 41}, {40, -5, -7, 100, 100, 0, 0, 40, 40},
      {40, 0, 0, 40, 40, 7, 5, 13, 21}, {33, 4, 4, 1, 20, 0, 0, 33, 33},
  };
  for (PixelFormat format : {PixelFormat24bppRGB, PixelFormat32bppRGB, PixelFormat32bppARGB})
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "format " << format << ", rectangle " << c.x << "," << c.y
                                      << " " << c.width << "x" << c.height);
      ImageHandle bitmap = BitmapFrom(SolidImage(c.size, c.size, grey), format);
      GraphicsHandle graphics = GraphicsHandle::FromImage(bitmap);
      ASSERT_EQ(GdipSetClipRectI(graphics.graphics(), c.clipX, c.clipY, c.clipWidth, c.clipHeight,
                                 CombineModeReplace),
                Ok);
      BrushHandle brush = BrushHandle::Solid(colour);
      ASSERT_EQ(GdipFillRectangleI(graphics.graphics(), brush.brush(), c.x, c.y, c.width, c.height),
                Ok);
      const QImage pixels = PixelsOf(bitmap);
      for (int y = 0; y < c.size; ++y)
        for (int x = 0; x < c.size; ++x) {
          const bool inside = x >= c.x && x < c.x + c.width && y >= c.y && y < c.y + c.height &&
                              x >= c.clipX && x < c.clipX + c.clipWidth && y >= c.clipY &&
                              y < c.clipY + c.clipHeight;
          ASSERT_EQ(pixels.pixel(x, y), inside ? colour : grey) << x << "," << y;
        }
    }
}

TEST(FillRectangle, OnTransparentPixelsGivesTheColourItself) {
  ImageHandle sheet = ImageHandle::FromScan0(4, 4, PixelFormat32bppARGB);
  GraphicsHandle graphics = GraphicsHandle::FromImage(sheet);
  BrushHandle brush = BrushHandle::Solid(0x4D123456u);
  ASSERT_EQ(GdipFillRectangleI(graphics.graphics(), brush.brush(), 0, 0, 4, 4), Ok);
  EXPECT_EQ(PixelsOf(sheet).pixel(1, 2), 0x4D123456u);
  // A second translucent fill over translucent pixels: alpha grows, colour stays.
  ASSERT_EQ(GdipFillRectangleI(graphics.graphics(), brush.brush(), 0, 0, 4, 4), Ok);
  const QRgb twice = PixelsOf(sheet).pixel(1, 2);
  EXPECT_EQ(qAlpha(twice), 0x4D + (0x4D * (255 - 0x4D) + 127) / 255);
  EXPECT_EQ(twice & 0xFFFFFFu, 0x123456u);
}

TEST(FillRectangle, StaysInsideTheBitmapAndIgnoresEmptyRectangles) {
  ImageHandle bitmap = ImageHandle::FromScan0(6, 6, PixelFormat24bppRGB);
  GraphicsHandle graphics = GraphicsHandle::FromImage(bitmap);
  BrushHandle brush = BrushHandle::Solid(0xFFFFFFFFu);
  EXPECT_EQ(GdipFillRectangleI(graphics.graphics(), brush.brush(), -5, -5, 0, 100), Ok);
  EXPECT_EQ(GdipFillRectangleI(graphics.graphics(), brush.brush(), 3, 3, -2, 2), Ok);
  EXPECT_TRUE(Changed(PixelsOf(bitmap), 0xFF000000u).empty());
  EXPECT_EQ(GdipFillRectangleI(graphics.graphics(), brush.brush(), 0x7FFFFFFF - 1, -4, 0x7FFFFFFF,
                               0x7FFFFFFF),
            Ok);
  EXPECT_EQ(GdipFillRectangleI(graphics.graphics(), brush.brush(), 4, -6, 0x7FFFFFFF, 0x7FFFFFFF),
            Ok);
  Pixels expected;
  AddBlock(expected, 4, 6, 0, 6);
  EXPECT_EQ(Changed(PixelsOf(bitmap), 0xFF000000u), expected);
  EXPECT_EQ(GdipFillRectangleI(graphics.graphics(), nullptr, 0, 0, 1, 1), InvalidParameter);
  EXPECT_EQ(GdipFillRectangleI(nullptr, brush.brush(), 0, 0, 1, 1), InvalidParameter);
}

TEST(DrawRectangle, TwoPixelPenIsCentredOnTheEdges) {
  // Rectangle (5, 5, 6, 4): left edge covers columns 4 and 5, right edge 10 and 11,
  // top rows 4 and 5, bottom rows 8 and 9.
  const QImage pixels = Outline(20, 0xFFFF0000u, 2.0f, 5, 5, 6, 4);
  Pixels expected;
  AddBlock(expected, 4, 12, 4, 6);
  AddBlock(expected, 4, 12, 8, 10);
  AddBlock(expected, 4, 6, 6, 8);
  AddBlock(expected, 10, 12, 6, 8);
  EXPECT_EQ(Changed(pixels, 0xFF000000u), expected);
  EXPECT_EQ(pixels.pixel(4, 4), 0xFFFF0000u);
}

TEST(DrawRectangle, TranslucentPenBlendsEveryPixelOnce) {
  const QRgb background = 0xFF204060u;
  const QImage pixels = Outline(20, 0x80FF0000u, 2.0f, 3, 3, 8, 8, background);
  const Pixels changed = Changed(pixels, background);
  EXPECT_EQ(changed.size(), 10u * 10u - 6u * 6u);
  for (const auto& [x, y] : changed)
    ASSERT_EQ(pixels.pixel(x, y), OverOpaque(0x80FF0000u, background)) << x << "," << y;
  // A rectangle narrower than the pen: the bands overlap and still blend once.
  const QImage tiny = Outline(10, 0x80FF0000u, 2.0f, 4, 4, 1, 0, background);
  Pixels expected;
  AddBlock(expected, 3, 6, 3, 5);
  EXPECT_EQ(Changed(tiny, background), expected);
  for (const auto& [x, y] : expected)
    ASSERT_EQ(tiny.pixel(x, y), OverOpaque(0x80FF0000u, background));
}

TEST(DrawRectangle, OtherWidthsCoverTheirBand) {
  Pixels one;  // a 1-pixel pen lies on the edge coordinates themselves
  AddBlock(one, 2, 7, 2, 3);
  AddBlock(one, 2, 7, 5, 6);
  AddBlock(one, 2, 3, 3, 5);
  AddBlock(one, 6, 7, 3, 5);
  EXPECT_EQ(Changed(Outline(12, 0xFFFFFFFFu, 1.0f, 2, 2, 4, 3), 0xFF000000u), one);
  Pixels three;  // [edge - 1.5, edge + 1.5): three pixels around each edge
  AddBlock(three, 1, 10, 1, 4);
  AddBlock(three, 1, 10, 7, 10);
  AddBlock(three, 1, 4, 4, 7);
  AddBlock(three, 7, 10, 4, 7);
  EXPECT_EQ(Changed(Outline(12, 0xFFFFFFFFu, 3.0f, 2, 2, 6, 6), 0xFF000000u), three);
}

TEST(DrawRectangle, RespectsTheClipAndTheBitmapsEdges) {
  ImageHandle bitmap = ImageHandle::FromScan0(10, 10, PixelFormat24bppRGB);
  GraphicsHandle graphics = GraphicsHandle::FromImage(bitmap);
  PenHandle pen = PenHandle::Create(0xFFFFFFFFu, 2.0f, UnitWorld);
  ASSERT_EQ(GdipSetClipRectI(graphics.graphics(), 0, 0, 5, 10, CombineModeReplace), Ok);
  ASSERT_EQ(GdipDrawRectangleI(graphics.graphics(), pen.pen(), 0, 0, 8, 8), Ok);
  Pixels expected;
  AddBlock(expected, 0, 5, 0, 1);
  AddBlock(expected, 0, 5, 7, 9);
  AddBlock(expected, 0, 1, 1, 7);
  EXPECT_EQ(Changed(PixelsOf(bitmap), 0xFF000000u), expected);
  EXPECT_EQ(GdipDrawRectangleI(graphics.graphics(), pen.pen(), 3, 3, -1, 2), Ok);
  EXPECT_EQ(GdipDrawRectangleI(graphics.graphics(), pen.pen(), -0x7FFFFFFF, -0x7FFFFFFF, 0x7FFFFFFF,
                               0x7FFFFFFF),
            Ok);
  EXPECT_EQ(GdipDrawRectangleI(graphics.graphics(), nullptr, 0, 0, 1, 1), InvalidParameter);
}

TEST(CreatePen, ChecksWidthAndUnit) {
  GpPen* pen = nullptr;
  EXPECT_EQ(GdipCreatePen1(0xFF000000u, -1.0f, UnitWorld, &pen), InvalidParameter);
  EXPECT_EQ(GdipCreatePen1(0xFF000000u, NAN, UnitWorld, &pen), InvalidParameter);
  EXPECT_EQ(GdipCreatePen1(0xFF000000u, 2.0f, UnitInch, &pen), InvalidParameter);
  EXPECT_EQ(GdipCreatePen1(0xFF000000u, 2.0f, UnitWorld, nullptr), InvalidParameter);
  ASSERT_EQ(GdipCreatePen1(0xFF000000u, 2.0f, UnitPixel, &pen), Ok);
  EXPECT_EQ(GdipDeletePen(pen), Ok);
  EXPECT_EQ(GdipDeletePen(nullptr), InvalidParameter);
  EXPECT_EQ(GdipDeleteBrush(nullptr), InvalidParameter);
  EXPECT_EQ(GdipCreateSolidFill(0, nullptr), InvalidParameter);
}

}  // namespace
