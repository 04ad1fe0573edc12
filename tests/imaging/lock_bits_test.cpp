// Pixel locks: row layout, in-place locks, conversion, write-back, caller buffers, refusals.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "imaging/imaging_helpers.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

GpStatus Lock(ImageHandle& bitmap, Rect rect, UINT flags, PixelFormat format, BitmapData& data) {
  return GdipBitmapLockBits(bitmap.bitmap(), &rect, flags, format, &data);
}

const uchar* Row(const BitmapData& data, int y) {
  return static_cast<const uchar*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
}

TEST(LockBits, Gives24BitRowsTopDownInBlueGreenRedOrder) {
  const QImage pattern = PatternImage(7, 5, false);
  ImageHandle bitmap = BitmapFrom(pattern, PixelFormat24bppRGB);
  BitmapData data{};
  ASSERT_EQ(
      Lock(bitmap, {1, 2, 5, 3}, ImageLockModeRead | ImageLockModeWrite, PixelFormat24bppRGB, data),
      Ok);
  EXPECT_EQ(data.Width, 5u);
  EXPECT_EQ(data.Height, 3u);
  EXPECT_EQ(data.PixelFormat, PixelFormat24bppRGB);
  EXPECT_GE(data.Stride, 7 * 3);
  EXPECT_EQ(data.Stride % 4, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const uchar* p = Row(data, y) + 3 * x;
      const QRgb expected = pattern.pixel(x + 1, y + 2);
      ASSERT_EQ(p[0], qBlue(expected));
      ASSERT_EQ(p[1], qGreen(expected));
      ASSERT_EQ(p[2], qRed(expected));
    }
  EXPECT_EQ(GdipBitmapUnlockBits(bitmap.bitmap(), &data), Ok);
}

TEST(LockBits, OwnFormatPointsStraightIntoThePixels) {
  ImageHandle bitmap = ImageHandle::FromScan0(640, 480, PixelFormat24bppRGB);
  BitmapData first{}, second{};
  ASSERT_EQ(Lock(bitmap, {0, 0, 640, 480}, ImageLockModeRead | ImageLockModeWrite,
                 PixelFormat24bppRGB, first),
            Ok);
  // A change through the pointer is in the bitmap at once, before the unlock.
  uchar* p = static_cast<uchar*>(first.Scan0) + 10 * first.Stride + 3 * 20;
  p[0] = 0x11;
  p[1] = 0x22;
  p[2] = 0x33;
  ARGB colour = 0;
  ASSERT_EQ(GdipBitmapGetPixel(bitmap.bitmap(), 20, 10, &colour), Ok);
  EXPECT_EQ(colour, 0xFF332211u);
  ASSERT_EQ(GdipBitmapUnlockBits(bitmap.bitmap(), &first), Ok);
  ASSERT_EQ(Lock(bitmap, {0, 0, 640, 480}, ImageLockModeRead, PixelFormat24bppRGB, second), Ok);
  EXPECT_EQ(first.Scan0, second.Scan0);
  ASSERT_EQ(GdipBitmapUnlockBits(bitmap.bitmap(), &second), Ok);
  // A sub-rectangle starts inside the same memory.
  BitmapData part{};
  ASSERT_EQ(Lock(bitmap, {20, 10, 5, 5}, ImageLockModeRead, PixelFormat24bppRGB, part), Ok);
  EXPECT_EQ(part.Scan0, p);
  GdipBitmapUnlockBits(bitmap.bitmap(), &part);
}

TEST(LockBits, ConvertsAndWritesBackOnlyWithTheWriteFlag) {
  const QImage pattern = PatternImage(6, 4, true);
  ImageHandle bitmap = BitmapFrom(pattern, PixelFormat32bppARGB);
  BitmapData data{};
  // Reading as 24 bits drops alpha and keeps the colour.
  ASSERT_EQ(Lock(bitmap, {0, 0, 6, 4}, ImageLockModeRead, PixelFormat24bppRGB, data), Ok);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      const uchar* p = Row(data, y) + 3 * x;
      ASSERT_EQ(qRgb(p[2], p[1], p[0]), pattern.pixel(x, y) | 0xFF000000u);
    }
  std::memset(data.Scan0, 0x55, static_cast<size_t>(data.Stride) * 4);
  ASSERT_EQ(GdipBitmapUnlockBits(bitmap.bitmap(), &data), Ok);
  EXPECT_EQ(FirstDifference(pattern, PixelsOf(bitmap)), "");  // read-only: unchanged

  ASSERT_EQ(
      Lock(bitmap, {2, 1, 3, 2}, ImageLockModeRead | ImageLockModeWrite, PixelFormat24bppRGB, data),
      Ok);
  uchar* p = static_cast<uchar*>(data.Scan0) + data.Stride + 3;  // (3, 2) of the bitmap
  p[0] = 0x01;
  p[1] = 0x02;
  p[2] = 0x03;
  ASSERT_EQ(GdipBitmapUnlockBits(bitmap.bitmap(), &data), Ok);
  // The whole locked rectangle comes back from 24 bits, so opaque.
  QImage expected = pattern;
  for (int y = 1; y < 3; ++y)
    for (int x = 2; x < 5; ++x) expected.setPixel(x, y, pattern.pixel(x, y) | 0xFF000000u);
  expected.setPixel(3, 2, 0xFF030201u);
  EXPECT_EQ(FirstDifference(expected, PixelsOf(bitmap)), "");
}

TEST(LockBits, WriteOnlyLockOf24BitBitmapAs32Bit) {
  ImageHandle bitmap = ImageHandle::FromScan0(3, 2, PixelFormat24bppRGB);
  BitmapData data{};
  ASSERT_EQ(Lock(bitmap, {0, 0, 3, 2}, ImageLockModeWrite, PixelFormat32bppARGB, data), Ok);
  EXPECT_EQ(data.Stride, 12);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      reinterpret_cast<quint32*>(static_cast<uchar*>(data.Scan0) + y * data.Stride)[x] =
          0x80000000u | static_cast<quint32>(y * 3 + x);
  ASSERT_EQ(GdipBitmapUnlockBits(bitmap.bitmap(), &data), Ok);
  ARGB colour = 0;
  GdipBitmapGetPixel(bitmap.bitmap(), 2, 1, &colour);
  EXPECT_EQ(colour, 0xFF000005u);
}

TEST(LockBits, UsesTheCallersBufferWhenAsked) {
  const QImage pattern = PatternImage(4, 3, true);
  ImageHandle bitmap = BitmapFrom(pattern, PixelFormat32bppARGB);
  std::vector<quint32> mine(8 * 3, 0xDEADBEEFu);
  BitmapData data{};
  data.Scan0 = mine.data();
  data.Stride = 32;
  ASSERT_EQ(Lock(bitmap, {0, 0, 4, 3}, ImageLockModeRead | ImageLockModeUserInputBuf,
                 PixelFormat32bppARGB, data),
            Ok);
  EXPECT_EQ(data.Scan0, mine.data());
  EXPECT_EQ(mine[8 * 2 + 3], pattern.pixel(3, 2));
  EXPECT_EQ(mine[4], 0xDEADBEEFu);  // past the rectangle's width: untouched
  ASSERT_EQ(GdipBitmapUnlockBits(bitmap.bitmap(), &data), Ok);
}

TEST(LockBits, RefusesBadRequests) {
  ImageHandle bitmap = ImageHandle::FromScan0(10, 10, PixelFormat32bppARGB);
  BitmapData data{};
  const UINT rw = ImageLockModeRead | ImageLockModeWrite;
  EXPECT_EQ(Lock(bitmap, {0, 0, 11, 10}, rw, PixelFormat32bppARGB, data), InvalidParameter);
  EXPECT_EQ(Lock(bitmap, {-1, 0, 5, 5}, rw, PixelFormat32bppARGB, data), InvalidParameter);
  EXPECT_EQ(Lock(bitmap, {5, 5, 0, 2}, rw, PixelFormat32bppARGB, data), InvalidParameter);
  EXPECT_EQ(Lock(bitmap, {9, 9, 2, 1}, rw, PixelFormat32bppARGB, data), InvalidParameter);
  EXPECT_EQ(Lock(bitmap, {0x7FFFFFF0, 0, 0x7FFFFFFF, 1}, rw, PixelFormat32bppARGB, data),
            InvalidParameter);
  EXPECT_EQ(Lock(bitmap, {0, 0, 5, 5}, 0, PixelFormat32bppARGB, data), InvalidParameter);
  EXPECT_EQ(Lock(bitmap, {0, 0, 5, 5}, rw, 0x00030402, data), InvalidParameter);
  EXPECT_EQ(GdipBitmapLockBits(bitmap.bitmap(), nullptr, rw, PixelFormat32bppARGB, nullptr),
            InvalidParameter);
  EXPECT_EQ(GdipBitmapUnlockBits(bitmap.bitmap(), &data), WrongState);

  ASSERT_EQ(Lock(bitmap, {0, 0, 10, 10}, rw, PixelFormat24bppRGB, data), Ok);
  BitmapData again{};
  EXPECT_EQ(Lock(bitmap, {0, 0, 1, 1}, ImageLockModeRead, PixelFormat32bppARGB, again), WrongState);
  // Drawing into a locked bitmap would race the lock holder's write-back.
  GraphicsHandle graphics = GraphicsHandle::FromImage(bitmap);
  BrushHandle brush = BrushHandle::Solid(0xFFFFFFFF);
  EXPECT_EQ(GdipFillRectangleI(graphics.graphics(), brush.brush(), 0, 0, 2, 2), WrongState);
  EXPECT_EQ(GdipBitmapUnlockBits(bitmap.bitmap(), &data), Ok);
  EXPECT_EQ(GdipBitmapUnlockBits(bitmap.bitmap(), &data), WrongState);
  EXPECT_EQ(GdipFillRectangleI(graphics.graphics(), brush.brush(), 0, 0, 2, 2), Ok);
}

TEST(LockBits, NullRectangleLocksTheWholeBitmap) {
  ImageHandle bitmap = ImageHandle::FromScan0(9, 4, PixelFormat32bppRGB);
  BitmapData data{};
  ASSERT_EQ(
      GdipBitmapLockBits(bitmap.bitmap(), nullptr, ImageLockModeRead, PixelFormat32bppRGB, &data),
      Ok);
  EXPECT_EQ(data.Width, 9u);
  EXPECT_EQ(data.Height, 4u);
  EXPECT_EQ(GdipBitmapUnlockBits(bitmap.bitmap(), &data), Ok);
}

}  // namespace
