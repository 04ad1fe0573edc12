// Blank bitmaps, their size, format and resolution, single pixels, and disposal.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "imaging/linux/compositing.h"
#include "imaging/linux/gp_objects.h"

namespace korvanth::imaging {

Box Box::intersected(const Box& o) const {
  Box r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
        std::min(bottom, o.bottom)};
  if (r.empty()) r = Box{};
  return r;
}

Gdiplus::PixelFormat PixelFormatOf(Layout layout) {
  switch (layout) {
    case Layout::Argb32:
      return Gdiplus::PixelFormat32bppARGB;
    case Layout::Rgb32:
      return Gdiplus::PixelFormat32bppRGB;
    case Layout::Bgr24:
      return Gdiplus::PixelFormat24bppRGB;
  }
  return 0;
}

void ReleaseBitmapIfUnused(LinuxBitmap* bitmap) {
  if (bitmap->disposed && bitmap->attachedGraphics == 0) delete bitmap;
}

}  // namespace korvanth::imaging

namespace Gdiplus::DllExports {

using korvanth::imaging::AsBitmap;
using korvanth::imaging::Layout;
using korvanth::imaging::PixelImage;
using korvanth::imaging::LinuxBitmap;

namespace {

// A usable image: present and not already disposed.
LinuxBitmap* Live(GpImage* image) {
  LinuxBitmap* bitmap = AsBitmap(image);
  return bitmap != nullptr && !bitmap->disposed ? bitmap : nullptr;
}

}  // namespace

GpStatus GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format,
                                   BYTE* scan0, GpBitmap** bitmap) {
  if (bitmap == nullptr) return InvalidParameter;
  *bitmap = nullptr;
  const std::optional<Layout> layout = korvanth::imaging::LayoutOf(format);
  if (width <= 0 || height <= 0 || !layout) return InvalidParameter;
  const int bytesPerPixel = korvanth::imaging::BytesPerPixel(*layout);
  if (!korvanth::imaging::FitsPixelLimit(width, height, bytesPerPixel)) return OutOfMemory;

  PixelImage pixels;
  if (scan0 != nullptr) {
    // The caller's buffer is used in place, as GDI+ does; rows must be top-down and
    // 4-byte aligned like GDI+'s own.
    const std::int64_t minStride = std::int64_t{width} * bytesPerPixel;
    if (stride <= 0 || stride % 4 != 0 || stride < minStride) return InvalidParameter;
    pixels = PixelImage::Borrow(scan0, width, height, stride, *layout);
  } else {
    // Zeroed: the viewer's per-paint frame costs no separate clearing pass.
    pixels = PixelImage::Create(width, height, *layout);
  }
  if (pixels.isNull()) return OutOfMemory;
  auto* created = new (std::nothrow) LinuxBitmap;
  if (created == nullptr) return OutOfMemory;
  created->pixels = std::move(pixels);
  *bitmap = created;
  return Ok;
}

GpStatus GdipDisposeImage(GpImage* image) {
  LinuxBitmap* bitmap = Live(image);
  if (bitmap == nullptr) return InvalidParameter;
  bitmap->disposed = true;
  korvanth::imaging::ReleaseBitmapIfUnused(bitmap);
  return Ok;
}

GpStatus GdipGetImageWidth(GpImage* image, UINT* width) {
  LinuxBitmap* bitmap = Live(image);
  if (bitmap == nullptr || width == nullptr) return InvalidParameter;
  *width = static_cast<UINT>(bitmap->pixels.width());
  return Ok;
}

GpStatus GdipGetImageHeight(GpImage* image, UINT* height) {
  LinuxBitmap* bitmap = Live(image);
  if (bitmap == nullptr || height == nullptr) return InvalidParameter;
  *height = static_cast<UINT>(bitmap->pixels.height());
  return Ok;
}

GpStatus GdipGetImagePixelFormat(GpImage* image, PixelFormat* format) {
  LinuxBitmap* bitmap = Live(image);
  if (bitmap == nullptr || format == nullptr) return InvalidParameter;
  *format = korvanth::imaging::PixelFormatOf(bitmap->pixels.layout());
  return Ok;
}

GpStatus GdipGetImageHorizontalResolution(GpImage* image, REAL* resolution) {
  LinuxBitmap* bitmap = Live(image);
  if (bitmap == nullptr || resolution == nullptr) return InvalidParameter;
  *resolution = bitmap->dpiX;
  return Ok;
}

GpStatus GdipGetImageVerticalResolution(GpImage* image, REAL* resolution) {
  LinuxBitmap* bitmap = Live(image);
  if (bitmap == nullptr || resolution == nullptr) return InvalidParameter;
  *resolution = bitmap->dpiY;
  return Ok;
}

GpStatus GdipBitmapSetResolution(GpBitmap* image, REAL xdpi, REAL ydpi) {
  LinuxBitmap* bitmap = Live(image);
  if (bitmap == nullptr) return InvalidParameter;
  if (!(xdpi > 0.0f) || !(ydpi > 0.0f) || !std::isfinite(xdpi) || !std::isfinite(ydpi))
    return InvalidParameter;
  bitmap->dpiX = xdpi;
  bitmap->dpiY = ydpi;
  return Ok;
}

GpStatus GdipBitmapGetPixel(GpBitmap* image, INT x, INT y, ARGB* color) {
  LinuxBitmap* bitmap = Live(image);
  if (bitmap == nullptr || color == nullptr) return InvalidParameter;
  const PixelImage& pixels = bitmap->pixels;
  if (x < 0 || y < 0 || x >= pixels.width() || y >= pixels.height()) return InvalidParameter;
  const std::uint8_t* p = pixels.row(y) + std::size_t(x) * pixels.bytesPerPixel();
  const ARGB alpha = pixels.layout() == Layout::Argb32 ? ARGB(p[3]) << 24 : 0xFF000000u;
  *color = alpha | (ARGB(p[2]) << 16) | (ARGB(p[1]) << 8) | p[0];
  return Ok;
}

}  // namespace Gdiplus::DllExports
