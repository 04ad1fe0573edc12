// Drawing pictures: exact quarter copies, source-over rounding, clipping, edges and scaling.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "imaging/imaging_helpers.h"
#include "imaging/linux/device_context.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

// Non-premultiplied source-over in exact arithmetic, rounded to nearest.
QRgb OverTranslucent(QRgb src, QRgb dst) {
  const double sa = qAlpha(src) / 255.0, da = qAlpha(dst) / 255.0;
  const double outA = sa + da * (1 - sa);
  auto mix = [&](int s, int d) {
    return static_cast<int>(std::floor((s * sa + d * da * (1 - sa)) / outA + 0.5));
  };
  return qRgba(mix(qRed(src), qRed(dst)), mix(qGreen(src), qGreen(dst)),
               mix(qBlue(src), qBlue(dst)), static_cast<int>(std::floor(outA * 255 + 0.5)));
}

TEST(DrawImagePointRect, CopiesQuartersBitForBitOntoATransparentSheet) {
  QImage source = PatternImage(64, 96, true);
  source.setPixel(3, 3, 0x00FFFFFFu);  // transparent with a colour: leaves the sheet alone
  source.setPixel(4, 3, 0x01020304u);
  source.setPixel(5, 3, 0xFE0A0B0Cu);
  ImageHandle picture = BitmapFrom(source);
  ImageHandle sheet = ImageHandle::FromScan0(128, 320, PixelFormat32bppARGB);
  GraphicsHandle graphics = GraphicsHandle::FromImage(sheet);
  QImage expected(128, 320, QImage::Format_ARGB32);
  expected.fill(0u);
  for (int q = 0; q < 24; ++q) {
    const int sx = 16 * (q % 4), sy = 16 * (q / 4);
    const int dx = 16 * ((q * 5) % 8), dy = 16 * ((q * 7) % 20);
    ASSERT_EQ(GdipDrawImagePointRectI(graphics.graphics(), picture.image(), dx, dy, sx, sy, 16, 16,
                                      UnitPixel),
              Ok);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const QRgb p = source.pixel(sx + x, sy + y);
        if (qAlpha(p) != 0) expected.setPixel(dx + x, dy + y, p);
      }
  }
  EXPECT_EQ(FirstDifference(expected, PixelsOf(sheet)), "");
}

TEST(DrawImagePointRect, BlendsOntoOpaqueDestinationsByTheFormula) {
  QImage source(256, 1, QImage::Format_ARGB32);
  for (int a = 0; a < 256; ++a) source.setPixel(a, 0, qRgba(250 - a / 2, a, 17 + a / 3, a));
  ImageHandle picture = BitmapFrom(source);
  const QRgb background = 0xFF3C7896u;
  for (PixelFormat format : {PixelFormat24bppRGB, PixelFormat32bppRGB, PixelFormat32bppARGB}) {
    ImageHandle target = BitmapFrom(SolidImage(256, 1, background), format);
    GraphicsHandle graphics = GraphicsHandle::FromImage(target);
    ASSERT_EQ(GdipDrawImagePointRectI(graphics.graphics(), picture.image(), 0, 0, 0, 0, 256, 1,
                                      UnitPixel),
              Ok);
    const QImage result = PixelsOf(target);
    for (int a = 0; a < 256; ++a) {
      const QRgb expected = a == 0 ? background : OverOpaque(source.pixel(a, 0), background);
      ASSERT_EQ(result.pixel(a, 0), expected) << "alpha " << a << " format " << format;
    }
  }
}

TEST(DrawImagePointRect, MixesLongOpaqueStretchesWithTranslucentPixels) {
  // Long rows take the 16-pixel paths; the odd translucent or transparent pixel and the
  // row ends must still come out exactly.
  QImage source = PatternImage(203, 5, false).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < 5; ++y)
    for (int x : {0, 17, 40 + y, 99, 150, 202}) source.setPixel(x, y, qRgba(x, 255 - x, y, 40 * y));
  const QRgb background = 0xFF5A6B7Cu;
  ImageHandle picture = BitmapFrom(source);
  for (PixelFormat format : {PixelFormat24bppRGB, PixelFormat32bppRGB, PixelFormat32bppARGB}) {
    ImageHandle target = BitmapFrom(SolidImage(210, 7, background), format);
    GraphicsHandle graphics = GraphicsHandle::FromImage(target);
    ASSERT_EQ(GdipDrawImageRectI(graphics.graphics(), picture.image(), 3, 1, 203, 5), Ok);
    QImage expected = SolidImage(210, 7, background);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 203; ++x) {
        const QRgb p = source.pixel(x, y);
        if (qAlpha(p) != 0) expected.setPixel(x + 3, y + 1, OverOpaque(p, background));
      }
    EXPECT_EQ(FirstDifference(expected, PixelsOf(target)), "") << format;
  }
  // And a 24-bit frame of odd width onto a window surface, back to 32 bits.
  ImageHandle frame = BitmapFrom(source, PixelFormat24bppRGB);
  ImageHandle wide = BitmapFrom(SolidImage(203, 5, 0), PixelFormat32bppARGB);
  GraphicsHandle graphics = GraphicsHandle::FromImage(wide);
  ASSERT_EQ(GdipDrawImageRectI(graphics.graphics(), frame.image(), 0, 0, 203, 5), Ok);
  const QImage back = PixelsOf(wide);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 203; ++x) ASSERT_EQ(back.pixel(x, y), source.pixel(x, y) | 0xFF000000u);
}

TEST(DrawImagePointRect, TransparentHolesInOpaqueRowsLeaveTheFrameAlone) {
  // Tile pictures: opaque tiles on a fully transparent background that still has colour.
  QImage source = PatternImage(150, 4, false).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 150; ++x)
      if ((x / 5 + y) % 3 == 0) source.setPixel(x, y, source.pixel(x, y) & 0x00FFFFFFu);
  ImageHandle picture = BitmapFrom(source);
  const QImage background = PatternImage(160, 6, false);
  ImageHandle frame = BitmapFrom(background, PixelFormat24bppRGB);
  GraphicsHandle graphics = GraphicsHandle::FromImage(frame);
  ASSERT_EQ(GdipDrawImageRectI(graphics.graphics(), picture.image(), 5, 1, 150, 4), Ok);
  QImage expected = background.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 150; ++x)
      if (qAlpha(source.pixel(x, y)) == 255) expected.setPixel(x + 5, y + 1, source.pixel(x, y));
  EXPECT_EQ(FirstDifference(expected, PixelsOf(frame)), "");
}

TEST(DrawImagePointRect, BlendsTranslucentOverTranslucentWithCorrectRounding) {
  const int alphas[] = {1, 2, 17, 64, 127, 128, 200, 254};
  const int n = static_cast<int>(std::size(alphas));
  QImage source(n * n, 1, QImage::Format_ARGB32), dest(n * n, 1, QImage::Format_ARGB32);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      source.setPixel(i * n + j, 0, qRgba(200 + i, 13 * j, 255 - 7 * i, alphas[i]));
      dest.setPixel(i * n + j, 0, qRgba(31 * j % 256, 90 + i, 3 * j, alphas[j]));
    }
  ImageHandle picture = BitmapFrom(source);
  ImageHandle target = BitmapFrom(dest);
  GraphicsHandle graphics = GraphicsHandle::FromImage(target);
  ASSERT_EQ(GdipDrawImageRectI(graphics.graphics(), picture.image(), 0, 0, n * n, 1), Ok);
  const QImage result = PixelsOf(target);
  for (int x = 0; x < n * n; ++x)
    EXPECT_EQ(result.pixel(x, 0), OverTranslucent(source.pixel(x, 0), dest.pixel(x, 0)))
        << "pixel " << x;
}

// Rows where runs that need no arithmetic (source clear or opaque, destination clear)
// alternate with pixels that need blending, at every offset within a run of four.
TEST(DrawImagePointRect, PlainRunsAndBlendedPixelsMixAtEveryOffset) {
  const int width = 61, height = 9;
  QImage source(width, height, QImage::Format_ARGB32), dest(width, height, QImage::Format_ARGB32);
  const int sourceAlphas[] = {0, 255, 90, 255, 0, 1, 254};
  const int destAlphas[] = {0, 0, 0, 200, 0, 255, 0, 0, 33};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      // The first y pixels of each row are plain; the rest cycle through every mix.
      const int sa = x < 4 * y ? 255 : sourceAlphas[(x + y) % std::size(sourceAlphas)];
      const int da = x < 4 * y ? 0 : destAlphas[(3 * x + y) % std::size(destAlphas)];
      source.setPixel(x, y, qRgba(x * 4, y * 20, 255 - x, sa));
      dest.setPixel(x, y, qRgba(7 * y, 250 - 3 * x, x, da));
    }
  ImageHandle picture = BitmapFrom(source);
  ImageHandle target = BitmapFrom(dest);
  GraphicsHandle graphics = GraphicsHandle::FromImage(target);
  ASSERT_EQ(GdipDrawImagePointRectI(graphics.graphics(), picture.image(), 0, 0, 0, 0, width, height,
                                    UnitPixel),
            Ok);
  const QImage result = PixelsOf(target);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const QRgb s = source.pixel(x, y), d = dest.pixel(x, y);
      const QRgb expected = qAlpha(s) == 0                       ? d
                            : qAlpha(s) == 255 || qAlpha(d) == 0 ? s
                                                                 : OverTranslucent(s, d);
      ASSERT_EQ(result.pixel(x, y), expected) << x << "," << y;
    }
}

TEST(DrawImagePointRect, OutsideOfTheSourceIsNeitherReadNorDrawn) {
  const QImage source = PatternImage(20, 20, false);
  ImageHandle picture = BitmapFrom(source);
  const QRgb marker = 0xFF123456u;
  ImageHandle target = BitmapFrom(SolidImage(40, 40, marker));
  GraphicsHandle graphics = GraphicsHandle::FromImage(target);
  // Source rectangle (-8, 12, 16, 16): only x 0..7, y 12..19 exist.
  ASSERT_EQ(GdipDrawImagePointRectI(graphics.graphics(), picture.image(), 10, 10, -8, 12, 16, 16,
                                    UnitPixel),
            Ok);
  // Wholly outside: nothing happens.
  ASSERT_EQ(GdipDrawImagePointRectI(graphics.graphics(), picture.image(), 0, 0, 100, -50, 16, 16,
                                    UnitPixel),
            Ok);
  QImage expected = SolidImage(40, 40, marker);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) expected.setPixel(18 + x, 10 + y, source.pixel(x, 12 + y));
  EXPECT_EQ(FirstDifference(expected, PixelsOf(target)), "");
}

TEST(DrawImagePointRect, StaysInsideTheTargetAtExtremeCoordinates) {
  ImageHandle picture = BitmapFrom(PatternImage(16, 16, false));
  ImageHandle target = ImageHandle::FromScan0(8, 8, PixelFormat24bppRGB);
  GraphicsHandle graphics = GraphicsHandle::FromImage(target);
  for (int x : {-0x7FFFFFFF - 1, -15, 7, 0x7FFFFFFF})
    EXPECT_EQ(GdipDrawImagePointRectI(graphics.graphics(), picture.image(), x, x, 0, 0, 16, 16,
                                      UnitPixel),
              Ok);
  EXPECT_EQ(GdipDrawImagePointRectI(graphics.graphics(), picture.image(), 0, 0, 0x7FFFFFF0,
                                    0x7FFFFFF0, 0x7FFFFFFF, 0x7FFFFFFF, UnitPixel),
            Ok);
  ARGB colour = 0;
  GdipBitmapGetPixel(target.bitmap(), 7, 7, &colour);
  EXPECT_EQ(colour, PatternImage(16, 16, false).pixel(0, 0));  // from the x = 7 draw
}

TEST(DrawImagePointRect, RefusesNullObjectsAndOtherUnits) {
  ImageHandle picture = BitmapFrom(PatternImage(4, 4));
  ImageHandle target = ImageHandle::FromScan0(4, 4, PixelFormat32bppARGB);
  GraphicsHandle graphics = GraphicsHandle::FromImage(target);
  EXPECT_EQ(GdipDrawImagePointRectI(graphics.graphics(), nullptr, 0, 0, 0, 0, 4, 4, UnitPixel),
            InvalidParameter);
  EXPECT_EQ(GdipDrawImagePointRectI(nullptr, picture.image(), 0, 0, 0, 0, 4, 4, UnitPixel),
            InvalidParameter);
  EXPECT_EQ(
      GdipDrawImagePointRectI(graphics.graphics(), picture.image(), 0, 0, 0, 0, 4, 4, UnitInch),
      InvalidParameter);
  EXPECT_EQ(GdipDrawImageRectI(graphics.graphics(), nullptr, 0, 0, 4, 4), InvalidParameter);
  const QImage pixels = PixelsOf(target);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(pixels.pixel(x, y), 0u);
}

TEST(Clip, LimitsDrawingUntilReset) {
  ImageHandle picture = BitmapFrom(SolidImage(10, 10, 0xFFFFFFFFu), PixelFormat24bppRGB);
  ImageHandle target = ImageHandle::FromScan0(10, 10, PixelFormat24bppRGB);
  GraphicsHandle graphics = GraphicsHandle::FromImage(target);
  ASSERT_EQ(GdipSetClipRectI(graphics.graphics(), 2, 3, 4, 5, CombineModeReplace), Ok);
  ASSERT_EQ(GdipSetClipRectI(graphics.graphics(), 4, 0, 10, 10, CombineModeIntersect), Ok);
  ASSERT_EQ(GdipDrawImageRectI(graphics.graphics(), picture.image(), 0, 0, 10, 10), Ok);
  QImage pixels = PixelsOf(target);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 4 && x < 6 && y >= 3 && y < 8;
      ASSERT_EQ(pixels.pixel(x, y), inside ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
    }
  ASSERT_EQ(GdipSetClipRectI(graphics.graphics(), 0, 0, 1, 1, CombineModeReplace), Ok);
  BrushHandle brush = BrushHandle::Solid(0xFFFF0000u);
  GdipFillRectangleI(graphics.graphics(), brush.brush(), 0, 0, 10, 10);
  pixels = PixelsOf(target);
  EXPECT_EQ(pixels.pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(pixels.pixel(1, 0), 0xFF000000u);
  ASSERT_EQ(GdipResetClip(graphics.graphics()), Ok);
  GdipFillRectangleI(graphics.graphics(), brush.brush(), 0, 0, 10, 10);
  EXPECT_EQ(PixelsOf(target).pixel(9, 9), 0xFFFF0000u);
  EXPECT_EQ(GdipSetClipRectI(graphics.graphics(), 0, 0, 1, 1, CombineModeXor), NotImplemented);
  EXPECT_EQ(GdipSetClipRectI(nullptr, 0, 0, 1, 1, CombineModeReplace), InvalidParameter);
  EXPECT_EQ(GdipResetClip(nullptr), InvalidParameter);
}

TEST(DrawImageRect, DrawsThe24BitFrameOntoTheWindowSurface) {
  const QImage frame = PatternImage(50, 30, false);
  ImageHandle offscreen = BitmapFrom(frame, PixelFormat24bppRGB);
  QImage surface(60, 40, QImage::Format_RGB32);
  surface.fill(0xFF000000u);
  HDC__ dc{korvanth::imaging::PixelImage::Borrow(surface.bits(), 60, 40, surface.bytesPerLine(),
                                                 korvanth::imaging::Layout::Rgb32)};
  GraphicsHandle window = GraphicsHandle::FromHDC(&dc);
  ASSERT_EQ(window.lastStatus(), Ok);
  ASSERT_EQ(GdipDrawImageRectI(window.graphics(), offscreen.image(), 0, 0, 50, 30), Ok);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      const QRgb expected = x < 50 && y < 30 ? frame.pixel(x, y) | 0xFF000000u : 0xFF000000u;
      ASSERT_EQ(reinterpret_cast<const quint32*>(surface.constScanLine(y))[x], expected);
    }
  // Translucent pictures blend onto the surface, which stays opaque.
  ImageHandle glass = BitmapFrom(SolidImage(4, 4, 0x80FF0000u));
  ASSERT_EQ(GdipDrawImageRectI(window.graphics(), glass.image(), 55, 35, 4, 4), Ok);
  EXPECT_EQ(reinterpret_cast<const quint32*>(surface.constScanLine(36))[56],
            OverOpaque(0x80FF0000u, 0xFF000000u));
}

TEST(CreateFromHDC, RefusesMissingSurfaces) {
  GpGraphics* graphics = nullptr;
  EXPECT_EQ(GdipCreateFromHDC(nullptr, &graphics), InvalidParameter);
  HDC__ empty{};
  EXPECT_EQ(GdipCreateFromHDC(&empty, &graphics), InvalidParameter);
  EXPECT_EQ(graphics, nullptr);
}

TEST(DrawImageRect, ScalesByNearestNeighbourWhenAskedForAnotherSize) {
  QImage source(2, 2, QImage::Format_ARGB32);
  source.setPixel(0, 0, 0xFF0000FFu);
  source.setPixel(1, 0, 0xFF00FF00u);
  source.setPixel(0, 1, 0xFFFF0000u);
  source.setPixel(1, 1, 0x80FFFFFFu);
  ImageHandle picture = BitmapFrom(source);
  ImageHandle target = ImageHandle::FromScan0(4, 4, PixelFormat32bppARGB);
  GraphicsHandle graphics = GraphicsHandle::FromImage(target);
  ASSERT_EQ(GdipDrawImageRectI(graphics.graphics(), picture.image(), 0, 0, 4, 4), Ok);
  const QImage result = PixelsOf(target);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(result.pixel(x, y), source.pixel(x / 2, y / 2));
}

TEST(DrawImageRect, DrawsABitmapOntoItself) {
  const QImage pattern = PatternImage(12, 12, true);
  ImageHandle bitmap = BitmapFrom(pattern);
  GraphicsHandle graphics = GraphicsHandle::FromImage(bitmap);
  // Overlapping copy shifted by (2, 1): every destination pixel sees the original source.
  ASSERT_EQ(
      GdipDrawImagePointRectI(graphics.graphics(), bitmap.image(), 2, 1, 0, 0, 10, 11, UnitPixel),
      Ok);
  QImage expected = pattern;
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 10; ++x)
      expected.setPixel(x + 2, y + 1,
                        OverTranslucent(pattern.pixel(x, y), pattern.pixel(x + 2, y + 1)));
  EXPECT_EQ(FirstDifference(expected, PixelsOf(bitmap)), "");
}

}  // namespace
