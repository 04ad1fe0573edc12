// Pixel locking. When the caller asks for the bitmap's own format the lock points
// straight into its pixels (the viewer locks the whole frame on every mouse move);
// otherwise the rectangle is converted into a buffer and written back on unlock.
#include <new>
#include <vector>

#include "imaging/linux/compositing.h"
#include "imaging/linux/gp_objects.h"

namespace Gdiplus::DllExports {

using korvanth::imaging::AsBitmap;
using korvanth::imaging::Box;
using korvanth::imaging::ConvertRow;
using korvanth::imaging::Layout;
using korvanth::imaging::LayoutOf;
using korvanth::imaging::PixelLock;
using korvanth::imaging::LinuxBitmap;

namespace {

constexpr UINT kKnownLockFlags = ImageLockModeRead | ImageLockModeWrite | ImageLockModeUserInputBuf;

void CopyBetween(LinuxBitmap& bitmap, const PixelLock& lock, bool intoBuffer) {
  korvanth::imaging::PixelImage& pixels = bitmap.pixels;
  const Layout own = pixels.layout();
  const Layout locked = *LayoutOf(lock.format);
  const std::int64_t width = lock.area.right - lock.area.left;
  const std::int64_t ownStep = korvanth::imaging::BytesPerPixel(own);
  for (std::int64_t y = lock.area.top; y < lock.area.bottom; ++y) {
    std::uint8_t* bufferRow = lock.buffer + (y - lock.area.top) * lock.stride;
    if (intoBuffer) {
      const std::uint8_t* row = pixels.row(y) + lock.area.left * ownStep;
      ConvertRow(locked, bufferRow, own, row, width);
    } else {
      std::uint8_t* row = pixels.row(y) + lock.area.left * ownStep;
      ConvertRow(own, row, locked, bufferRow, width);
    }
  }
}

}  // namespace

GpStatus GdipBitmapLockBits(GpBitmap* image, const GpRect* rect, UINT flags, PixelFormat format,
                            BitmapData* lockedData) {
  LinuxBitmap* bitmap = AsBitmap(image);
  if (bitmap == nullptr || bitmap->disposed || lockedData == nullptr) return InvalidParameter;
  if (bitmap->lock.active) return WrongState;
  if ((flags & ~kKnownLockFlags) != 0 || (flags & (ImageLockModeRead | ImageLockModeWrite)) == 0)
    return InvalidParameter;
  const std::optional<Layout> layout = LayoutOf(format);
  if (!layout) return InvalidParameter;

  korvanth::imaging::PixelImage& pixels = bitmap->pixels;
  Box area{0, 0, pixels.width(), pixels.height()};
  if (rect != nullptr) {
    area = Box::FromXYWH(rect->X, rect->Y, rect->Width, rect->Height);
    if (rect->Width <= 0 || rect->Height <= 0 || area.left < 0 || area.top < 0 ||
        area.right > pixels.width() || area.bottom > pixels.height())
      return InvalidParameter;
  }
  const std::int64_t width = area.right - area.left;
  const std::int64_t height = area.bottom - area.top;
  const int bytesPerPixel = korvanth::imaging::BytesPerPixel(*layout);
  const bool userBuffer = (flags & ImageLockModeUserInputBuf) != 0;

  PixelLock lock;
  lock.format = format;
  lock.area = area;
  lock.writeBack = (flags & ImageLockModeWrite) != 0;
  if (!userBuffer && pixels.layout() == *layout) {
    lock.zeroCopy = true;
    lock.writeBack = false;
    lock.stride = pixels.stride();
    lock.buffer = pixels.bits() + area.top * lock.stride + area.left * bytesPerPixel;
  } else if (userBuffer) {
    if (lockedData->Scan0 == nullptr || lockedData->Stride <= 0 ||
        lockedData->Stride < width * bytesPerPixel)
      return InvalidParameter;
    lock.stride = lockedData->Stride;
    lock.buffer = static_cast<std::uint8_t*>(lockedData->Scan0);
  } else {
    lock.stride = (width * bytesPerPixel + 3) & ~std::int64_t{3};
    try {
      lock.scratch.assign(static_cast<std::size_t>(lock.stride * height), 0);
    } catch (const std::bad_alloc&) {
      return OutOfMemory;
    }
    lock.buffer = lock.scratch.data();
  }
  if (!lock.zeroCopy && (flags & ImageLockModeRead) != 0) CopyBetween(*bitmap, lock, true);

  lockedData->Width = static_cast<UINT>(width);
  lockedData->Height = static_cast<UINT>(height);
  lockedData->Stride = static_cast<INT>(lock.stride);
  lockedData->PixelFormat = format;
  lockedData->Scan0 = lock.buffer;
  lockedData->Reserved = 0;
  lock.active = true;
  bitmap->lock = std::move(lock);
  return Ok;
}

GpStatus GdipBitmapUnlockBits(GpBitmap* image, BitmapData* lockedData) {
  LinuxBitmap* bitmap = AsBitmap(image);
  if (bitmap == nullptr || bitmap->disposed || lockedData == nullptr) return InvalidParameter;
  if (!bitmap->lock.active) return WrongState;
  if (bitmap->lock.writeBack) CopyBetween(*bitmap, bitmap->lock, false);
  bitmap->lock = PixelLock{};
  return Ok;
}

}  // namespace Gdiplus::DllExports
