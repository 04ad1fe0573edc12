// Blank bitmaps, their size, format and resolution, single pixels, and disposal.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "imaging/portable/gp_objects.h"

namespace korvanth::imaging {

Box Box::intersected(const Box& o) const {
  Box r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
        std::min(bottom, o.bottom)};
  if (r.empty()) r = Box{};
  return r;
}

bool FitsPixelLimit(std::int64_t width, std::int64_t height, int bytesPerPixel) {
  if (width <= 0 || height <= 0) return false;
  // Each factor is below 2^31, so the product of the first two fits 64 bits.
  if (width * height > kMaxPixelBytes) return false;
  return width * height * bytesPerPixel <= kMaxPixelBytes;
}

Gdiplus::PixelFormat PixelFormatOf(QImage::Format format) {
  switch (format) {
    case QImage::Format_ARGB32:
      return Gdiplus::PixelFormat32bppARGB;
    case QImage::Format_RGB32:
      return Gdiplus::PixelFormat32bppRGB;
    case QImage::Format_BGR888:
      return Gdiplus::PixelFormat24bppRGB;
    default:
      return 0;
  }
}

void ReleaseBitmapIfUnused(PortableBitmap* bitmap) {
  if (bitmap->disposed && bitmap->attachedGraphics == 0) delete bitmap;
}

}  // namespace korvanth::imaging

namespace Gdiplus::DllExports {

using korvanth::imaging::AsBitmap;
using korvanth::imaging::PortableBitmap;

namespace {

// A usable image: present and not already disposed.
PortableBitmap* Live(GpImage* image) {
  PortableBitmap* bitmap = AsBitmap(image);
  return bitmap != nullptr && !bitmap->disposed ? bitmap : nullptr;
}

bool QtFormatFor(PixelFormat format, QImage::Format& qt, int& bytesPerPixel) {
  switch (format) {
    case PixelFormat24bppRGB:
      qt = QImage::Format_BGR888;
      bytesPerPixel = 3;
      return true;
    case PixelFormat32bppARGB:
      qt = QImage::Format_ARGB32;
      bytesPerPixel = 4;
      return true;
    case PixelFormat32bppRGB:
      qt = QImage::Format_RGB32;
      bytesPerPixel = 4;
      return true;
    default:
      return false;
  }
}

}  // namespace

GpStatus GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format,
                                   BYTE* scan0, GpBitmap** bitmap) {
  if (bitmap == nullptr) return InvalidParameter;
  *bitmap = nullptr;
  QImage::Format qtFormat = QImage::Format_Invalid;
  int bytesPerPixel = 0;
  if (width <= 0 || height <= 0 || !QtFormatFor(format, qtFormat, bytesPerPixel))
    return InvalidParameter;
  if (!korvanth::imaging::FitsPixelLimit(width, height, bytesPerPixel)) return OutOfMemory;

  QImage pixels;
  if (scan0 != nullptr) {
    // The caller's buffer is used in place, as GDI+ does; rows must be top-down and
    // 4-byte aligned like GDI+'s own.
    const std::int64_t minStride = std::int64_t{width} * bytesPerPixel;
    if (stride <= 0 || stride % 4 != 0 || stride < minStride) return InvalidParameter;
    pixels = QImage(scan0, width, height, stride, qtFormat);
  } else {
    // Zeroed memory straight from the allocator: large blocks arrive as fresh zero pages,
    // so the viewer's per-paint frame costs no separate clearing pass. Row padding is
    // zero too, so nothing uninitialised ever leaves.
    const std::int64_t stride = (std::int64_t{width} * bytesPerPixel + 3) & ~std::int64_t{3};
    void* memory = std::calloc(static_cast<std::size_t>(stride * height), 1);
    if (memory == nullptr) return OutOfMemory;
    pixels = QImage(static_cast<uchar*>(memory), width, height, static_cast<qsizetype>(stride),
                    qtFormat, std::free, memory);
  }
  if (pixels.isNull()) return OutOfMemory;
  auto* created = new (std::nothrow) PortableBitmap;
  if (created == nullptr) return OutOfMemory;
  created->pixels = std::move(pixels);
  *bitmap = created;
  return Ok;
}

GpStatus GdipDisposeImage(GpImage* image) {
  PortableBitmap* bitmap = Live(image);
  if (bitmap == nullptr) return InvalidParameter;
  bitmap->disposed = true;
  korvanth::imaging::ReleaseBitmapIfUnused(bitmap);
  return Ok;
}

GpStatus GdipGetImageWidth(GpImage* image, UINT* width) {
  PortableBitmap* bitmap = Live(image);
  if (bitmap == nullptr || width == nullptr) return InvalidParameter;
  *width = static_cast<UINT>(bitmap->pixels.width());
  return Ok;
}

GpStatus GdipGetImageHeight(GpImage* image, UINT* height) {
  PortableBitmap* bitmap = Live(image);
  if (bitmap == nullptr || height == nullptr) return InvalidParameter;
  *height = static_cast<UINT>(bitmap->pixels.height());
  return Ok;
}

GpStatus GdipGetImagePixelFormat(GpImage* image, PixelFormat* format) {
  PortableBitmap* bitmap = Live(image);
  if (bitmap == nullptr || format == nullptr) return InvalidParameter;
  *format = korvanth::imaging::PixelFormatOf(bitmap->pixels.format());
  return Ok;
}

GpStatus GdipGetImageHorizontalResolution(GpImage* image, REAL* resolution) {
  PortableBitmap* bitmap = Live(image);
  if (bitmap == nullptr || resolution == nullptr) return InvalidParameter;
  *resolution = bitmap->dpiX;
  return Ok;
}

GpStatus GdipGetImageVerticalResolution(GpImage* image, REAL* resolution) {
  PortableBitmap* bitmap = Live(image);
  if (bitmap == nullptr || resolution == nullptr) return InvalidParameter;
  *resolution = bitmap->dpiY;
  return Ok;
}

GpStatus GdipBitmapSetResolution(GpBitmap* image, REAL xdpi, REAL ydpi) {
  PortableBitmap* bitmap = Live(image);
  if (bitmap == nullptr) return InvalidParameter;
  if (!(xdpi > 0.0f) || !(ydpi > 0.0f) || !std::isfinite(xdpi) || !std::isfinite(ydpi))
    return InvalidParameter;
  bitmap->dpiX = xdpi;
  bitmap->dpiY = ydpi;
  return Ok;
}

GpStatus GdipBitmapGetPixel(GpBitmap* image, INT x, INT y, ARGB* color) {
  PortableBitmap* bitmap = Live(image);
  if (bitmap == nullptr || color == nullptr) return InvalidParameter;
  const QImage& pixels = bitmap->pixels;
  if (x < 0 || y < 0 || x >= pixels.width() || y >= pixels.height()) return InvalidParameter;
  const uchar* row = pixels.constScanLine(y);
  if (pixels.format() == QImage::Format_BGR888) {
    const uchar* p = row + std::size_t(x) * 3;
    *color = 0xFF000000u | (ARGB(p[2]) << 16) | (ARGB(p[1]) << 8) | p[0];
  } else {
    ARGB value = reinterpret_cast<const quint32*>(row)[x];
    if (pixels.format() == QImage::Format_RGB32) value |= 0xFF000000u;
    *color = value;
  }
  return Ok;
}

}  // namespace Gdiplus::DllExports
