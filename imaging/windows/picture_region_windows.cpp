// On Windows GDI+ decodes the whole picture; the region is copied out of it.
#include <cstring>

#include "imaging/handles.h"
#include "imaging/picture_region.h"

namespace korvanth::imaging {

GpStatus LoadPictureRegion(const WCHAR* path, std::int64_t x, std::int64_t y,
                           std::int64_t blockWidth, std::int64_t blockHeight, GpBitmap** bitmap,
                           LoadedRegion& loaded) {
  if (bitmap == nullptr) return InvalidParameter;
  *bitmap = nullptr;
  ImageHandle whole = ImageHandle::FromFile(path);
  if (whole.lastStatus() != Ok) return whole.lastStatus();
  loaded.pictureWidth = whole.Width();
  loaded.pictureHeight = whole.Height();
  loaded.region =
      RegionForBlock(loaded.pictureWidth, loaded.pictureHeight, x, y, blockWidth, blockHeight);
  const PixelArea& area = loaded.region;
  const GpRect rect{static_cast<INT>(area.left), static_cast<INT>(area.top),
                    static_cast<INT>(area.width), static_cast<INT>(area.height)};
  GpBitmap* part = nullptr;
  GpStatus status =
      GdipCreateBitmapFromScan0(rect.Width, rect.Height, 0, PixelFormat32bppARGB, nullptr, &part);
  if (status != Ok) return status;
  BitmapData from{};
  BitmapData to{};
  const GpRect all{0, 0, rect.Width, rect.Height};
  status =
      GdipBitmapLockBits(whole.bitmap(), &rect, ImageLockModeRead, PixelFormat32bppARGB, &from);
  if (status == Ok) {
    status = GdipBitmapLockBits(part, &all, ImageLockModeWrite, PixelFormat32bppARGB, &to);
    if (status == Ok) {
      for (INT row = 0; row < rect.Height; ++row)
        std::memcpy(static_cast<BYTE*>(to.Scan0) + std::ptrdiff_t{row} * to.Stride,
                    static_cast<const BYTE*>(from.Scan0) + std::ptrdiff_t{row} * from.Stride,
                    static_cast<std::size_t>(rect.Width) * 4);
      GdipBitmapUnlockBits(part, &to);
    }
    GdipBitmapUnlockBits(whole.bitmap(), &from);
  }
  REAL dpiX = 96, dpiY = 96;
  if (status == Ok) status = GdipGetImageHorizontalResolution(whole.image(), &dpiX);
  if (status == Ok) status = GdipGetImageVerticalResolution(whole.image(), &dpiY);
  if (status == Ok) status = GdipBitmapSetResolution(part, dpiX, dpiY);
  if (status != Ok) {
    GdipDisposeImage(part);
    return status;
  }
  *bitmap = part;
  return Ok;
}

}  // namespace korvanth::imaging
