// Bitmaps: made blank at 96 dpi, bad sizes refused, pixels read, resolution, null and disposal.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "imaging/imaging_helpers.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

TEST(CreateBitmapFromScan0, MakesTransparentBitmapsAt96Dpi) {
  for (PixelFormat format : {PixelFormat24bppRGB, PixelFormat32bppARGB, PixelFormat32bppRGB}) {
    ImageHandle bitmap = ImageHandle::FromScan0(37, 11, format);
    ASSERT_EQ(bitmap.lastStatus(), Ok);
    EXPECT_EQ(bitmap.Width(), 37u);
    EXPECT_EQ(bitmap.Height(), 11u);
    PixelFormat reported = 0;
    ASSERT_EQ(GdipGetImagePixelFormat(bitmap.image(), &reported), Ok);
    EXPECT_EQ(reported, format);
    REAL dpiX = 0, dpiY = 0;
    ASSERT_EQ(GdipGetImageHorizontalResolution(bitmap.image(), &dpiX), Ok);
    ASSERT_EQ(GdipGetImageVerticalResolution(bitmap.image(), &dpiY), Ok);
    EXPECT_EQ(dpiX, 96.0f);
    EXPECT_EQ(dpiY, 96.0f);
    ARGB colour = 0x12345678;
    ASSERT_EQ(GdipBitmapGetPixel(bitmap.bitmap(), 36, 10, &colour), Ok);
    EXPECT_EQ(colour, format == PixelFormat32bppARGB ? 0x00000000u : 0xFF000000u);
  }
  ImageHandle sheet = ImageHandle::FromScan0(128, 320, PixelFormat32bppARGB);
  const QImage pixels = PixelsOf(sheet);
  for (int y = 0; y < pixels.height(); ++y)
    for (int x = 0; x < pixels.width(); ++x) ASSERT_EQ(pixels.pixel(x, y), 0u);
}

TEST(CreateBitmapFromScan0, RefusesBadSizesAndFormats) {
  GpBitmap* bitmap = reinterpret_cast<GpBitmap*>(1);
  EXPECT_EQ(GdipCreateBitmapFromScan0(0, 5, 0, PixelFormat32bppARGB, nullptr, &bitmap),
            InvalidParameter);
  EXPECT_EQ(bitmap, nullptr);
  EXPECT_EQ(GdipCreateBitmapFromScan0(5, -1, 0, PixelFormat32bppARGB, nullptr, &bitmap),
            InvalidParameter);
  EXPECT_EQ(GdipCreateBitmapFromScan0(5, 5, 0, 0x12345, nullptr, &bitmap), InvalidParameter);
  EXPECT_EQ(GdipCreateBitmapFromScan0(5, 5, 0, PixelFormat32bppARGB, nullptr, nullptr),
            InvalidParameter);
  // 20000 x 20000 x 4 bytes is beyond the 1 GiB limit, refused before allocating.
  EXPECT_EQ(GdipCreateBitmapFromScan0(20000, 20000, 0, PixelFormat32bppARGB, nullptr, &bitmap),
            OutOfMemory);
  EXPECT_EQ(
      GdipCreateBitmapFromScan0(0x7FFFFFFF, 0x7FFFFFFF, 0, PixelFormat24bppRGB, nullptr, &bitmap),
      OutOfMemory);
  EXPECT_EQ(bitmap, nullptr);
}

TEST(CreateBitmapFromScan0, UsesTheCallersBufferInPlace) {
  std::vector<quint32> buffer(4 * 3, 0xFF00FF00u);
  buffer[5] = 0x80112233u;  // (1, 1)
  GpBitmap* bitmap = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(3, 3, 16, PixelFormat32bppARGB,
                                      reinterpret_cast<BYTE*>(buffer.data()), &bitmap),
            Ok);
  ARGB colour = 0;
  ASSERT_EQ(GdipBitmapGetPixel(bitmap, 1, 1, &colour), Ok);
  EXPECT_EQ(colour, 0x80112233u);
  buffer[4] = 0xFF445566u;  // (0, 1): the bitmap sees the caller's memory
  ASSERT_EQ(GdipBitmapGetPixel(bitmap, 0, 1, &colour), Ok);
  EXPECT_EQ(colour, 0xFF445566u);
  EXPECT_EQ(GdipDisposeImage(bitmap), Ok);
  // Strides that cannot describe the rows are refused.
  EXPECT_EQ(GdipCreateBitmapFromScan0(3, 3, 8, PixelFormat32bppARGB,
                                      reinterpret_cast<BYTE*>(buffer.data()), &bitmap),
            InvalidParameter);
  EXPECT_EQ(GdipCreateBitmapFromScan0(3, 3, -16, PixelFormat32bppARGB,
                                      reinterpret_cast<BYTE*>(buffer.data()), &bitmap),
            InvalidParameter);
}

TEST(BitmapGetPixel, ReadsEveryLayoutAndChecksBounds) {
  const QImage pattern = PatternImage(5, 4);
  ImageHandle argb = BitmapFrom(pattern, PixelFormat32bppARGB);
  ImageHandle rgb24 = BitmapFrom(pattern, PixelFormat24bppRGB);
  ImageHandle rgb32 = BitmapFrom(pattern, PixelFormat32bppRGB);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      ARGB a = 0, b = 0, c = 0;
      ASSERT_EQ(GdipBitmapGetPixel(argb.bitmap(), x, y, &a), Ok);
      ASSERT_EQ(GdipBitmapGetPixel(rgb24.bitmap(), x, y, &b), Ok);
      ASSERT_EQ(GdipBitmapGetPixel(rgb32.bitmap(), x, y, &c), Ok);
      EXPECT_EQ(a, pattern.pixel(x, y));
      EXPECT_EQ(b, pattern.pixel(x, y) | 0xFF000000u);
      EXPECT_EQ(c, pattern.pixel(x, y) | 0xFF000000u);
    }
  ARGB colour = 0;
  EXPECT_EQ(GdipBitmapGetPixel(argb.bitmap(), 5, 0, &colour), InvalidParameter);
  EXPECT_EQ(GdipBitmapGetPixel(argb.bitmap(), 0, -1, &colour), InvalidParameter);
  EXPECT_EQ(GdipBitmapGetPixel(argb.bitmap(), 0, 0, nullptr), InvalidParameter);
}

TEST(BitmapSetResolution, KeepsPositiveValuesPerBitmap) {
  ImageHandle first = ImageHandle::FromScan0(2, 2, PixelFormat32bppARGB);
  ImageHandle second = ImageHandle::FromScan0(2, 2, PixelFormat32bppARGB);
  ASSERT_EQ(GdipBitmapSetResolution(first.bitmap(), 72.0f, 150.5f), Ok);
  REAL x = 0, y = 0;
  GdipGetImageHorizontalResolution(first.image(), &x);
  GdipGetImageVerticalResolution(first.image(), &y);
  EXPECT_EQ(x, 72.0f);
  EXPECT_EQ(y, 150.5f);
  GdipGetImageHorizontalResolution(second.image(), &x);
  EXPECT_EQ(x, 96.0f);
  EXPECT_EQ(GdipBitmapSetResolution(first.bitmap(), 0.0f, 96.0f), InvalidParameter);
  EXPECT_EQ(GdipBitmapSetResolution(first.bitmap(), 96.0f, -1.0f), InvalidParameter);
  EXPECT_EQ(GdipBitmapSetResolution(first.bitmap(), NAN, 96.0f), InvalidParameter);
  GdipGetImageHorizontalResolution(first.image(), &x);
  EXPECT_EQ(x, 72.0f);
}

TEST(NullImage, EveryCallReturnsInvalidParameter) {
  UINT size = 7;
  REAL dpi = 0;
  PixelFormat format = 0;
  ARGB colour = 0;
  BitmapData data{};
  Rect rect{0, 0, 1, 1};
  GpGraphics* graphics = nullptr;
  const CLSID clsid = EncoderFor(u"image/png");
  EXPECT_EQ(GdipGetImageWidth(nullptr, &size), InvalidParameter);
  EXPECT_EQ(GdipGetImageHeight(nullptr, &size), InvalidParameter);
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(GdipGetImagePixelFormat(nullptr, &format), InvalidParameter);
  EXPECT_EQ(GdipGetImageHorizontalResolution(nullptr, &dpi), InvalidParameter);
  EXPECT_EQ(GdipGetImageVerticalResolution(nullptr, &dpi), InvalidParameter);
  EXPECT_EQ(GdipBitmapSetResolution(nullptr, 96, 96), InvalidParameter);
  EXPECT_EQ(GdipBitmapGetPixel(nullptr, 0, 0, &colour), InvalidParameter);
  EXPECT_EQ(GdipBitmapLockBits(nullptr, &rect, ImageLockModeRead, PixelFormat32bppARGB, &data),
            InvalidParameter);
  EXPECT_EQ(GdipBitmapUnlockBits(nullptr, &data), InvalidParameter);
  EXPECT_EQ(GdipGetImageGraphicsContext(nullptr, &graphics), InvalidParameter);
  EXPECT_EQ(GdipSaveImageToFile(nullptr, u"x.png", &clsid, nullptr), InvalidParameter);
  EXPECT_EQ(GdipDisposeImage(nullptr), InvalidParameter);
}

TEST(DisposeImage, WaitsForGraphicsStillDrawingIntoIt) {
  GpBitmap* bitmap = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(8, 8, 0, PixelFormat32bppARGB, nullptr, &bitmap), Ok);
  GpGraphics* graphics = nullptr;
  ASSERT_EQ(GdipGetImageGraphicsContext(bitmap, &graphics), Ok);
  ASSERT_EQ(GdipDisposeImage(bitmap), Ok);
  // The surface stays usable (under the sanitizers this proves no use after free).
  BrushHandle brush = BrushHandle::Solid(0xFF102030);
  EXPECT_EQ(GdipFillRectangleI(graphics, brush.brush(), 0, 0, 8, 8), Ok);
  EXPECT_EQ(GdipDeleteGraphics(graphics), Ok);
}

}  // namespace
