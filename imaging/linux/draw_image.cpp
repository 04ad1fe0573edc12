// Drawing pictures: unscaled copies of a source rectangle and, when a caller asks for
// another size, nearest-neighbour scaling. Only pixels inside the source are read.
#include <cstring>
#include <vector>

#include "imaging/linux/draw_target.h"

namespace korvanth::imaging {

namespace {

struct DrawSource {
  const PixelImage* pixels = nullptr;
  PixelImage selfCopy;  // when a bitmap is drawn onto itself
  Layout layout = Layout::Argb32;
  int bytesPerPixel = 4;
};

Gdiplus::GpStatus PrepareSource(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image,
                                DrawSource& out) {
  LinuxBitmap* bitmap = AsBitmap(image);
  if (bitmap == nullptr || bitmap->disposed) return Gdiplus::InvalidParameter;
  if (bitmap->lock.active) return Gdiplus::WrongState;
  out.layout = bitmap->pixels.layout();
  out.bytesPerPixel = bitmap->pixels.bytesPerPixel();
  out.pixels = &bitmap->pixels;
  if (static_cast<LinuxGraphics*>(graphics)->owner == bitmap) {
    out.selfCopy = bitmap->pixels.Copy();
    if (out.selfCopy.isNull()) return Gdiplus::OutOfMemory;
    out.pixels = &out.selfCopy;
  }
  return Gdiplus::Ok;
}

// Composites source pixels (sx, sy)+ onto the target at `dest`, already inside the
// drawable area and, shifted back, inside the source.
void CompositeUnscaled(const DrawTarget& target, const DrawSource& source, const Box& dest,
                       std::int64_t sx, std::int64_t sy) {
  const std::int64_t width = dest.right - dest.left;
  const std::int64_t srcStride = source.pixels->stride();
  const std::uint8_t* srcRow = source.pixels->row(sy) + sx * source.bytesPerPixel;
  for (std::int64_t y = dest.top; y < dest.bottom; ++y, srcRow += srcStride)
    BlendRow(target.layout, target.At(dest.left, y), source.layout, srcRow, width);
}

Gdiplus::GpStatus DrawUnscaled(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image,
                               std::int64_t x, std::int64_t y, std::int64_t sx, std::int64_t sy,
                               std::int64_t sw, std::int64_t sh) {
  DrawTarget target;
  if (auto status = PrepareTarget(graphics, target); status != Gdiplus::Ok) return status;
  DrawSource source;
  if (auto status = PrepareSource(graphics, image, source); status != Gdiplus::Ok) return status;
  if (sw <= 0 || sh <= 0 || target.bits == nullptr) return Gdiplus::Ok;
  // The part of the source rectangle inside the picture, moved to the destination.
  const Box inside = Box::FromXYWH(sx, sy, sw, sh)
                         .intersected(Box{0, 0, source.pixels->width(), source.pixels->height()});
  if (inside.empty()) return Gdiplus::Ok;
  const std::int64_t shiftX = x - sx;
  const std::int64_t shiftY = y - sy;
  const Box dest =
      Box{inside.left + shiftX, inside.top + shiftY, inside.right + shiftX, inside.bottom + shiftY}
          .intersected(target.area);
  if (dest.empty()) return Gdiplus::Ok;
  CompositeUnscaled(target, source, dest, dest.left - shiftX, dest.top - shiftY);
  return Gdiplus::Ok;
}

// Source index of destination offset i when n destination pixels show m source ones:
// the source pixel under the destination pixel's centre.
std::int64_t NearestSource(std::int64_t i, std::int64_t n, std::int64_t m) {
  return ((2 * i + 1) * m) / (2 * n);
}

// Draws the source rectangle `from` (inside the picture) into the destination rectangle
// (x, y, w, h), each destination pixel taking the source pixel under its centre. Each
// row is gathered once and composited in one go; rows repeating the one above are copied
// when the source is opaque, since the result then does not depend on the destination.
Gdiplus::GpStatus DrawScaled(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, std::int64_t x,
                             std::int64_t y, std::int64_t w, std::int64_t h, const Box& from) {
  DrawTarget target;
  if (auto status = PrepareTarget(graphics, target); status != Gdiplus::Ok) return status;
  DrawSource source;
  if (auto status = PrepareSource(graphics, image, source); status != Gdiplus::Ok) return status;
  if (w <= 0 || h <= 0 || from.empty() || target.bits == nullptr) return Gdiplus::Ok;
  const Box dest = Box::FromXYWH(x, y, w, h).intersected(target.area);
  if (dest.empty()) return Gdiplus::Ok;
  const std::int64_t sw = from.right - from.left;
  const std::int64_t sh = from.bottom - from.top;
  const std::int64_t width = dest.right - dest.left;
  const int bpp = source.bytesPerPixel;
  std::vector<std::int64_t> columns(static_cast<std::size_t>(width));
  for (std::int64_t dx = dest.left; dx < dest.right; ++dx)
    columns[static_cast<std::size_t>(dx - dest.left)] =
        (from.left + NearestSource(dx - x, w, sw)) * bpp;
  std::vector<std::uint8_t> gathered(static_cast<std::size_t>(width * bpp));
  const bool opaque = source.layout != Layout::Argb32;
  const std::int64_t rowBytes = width * target.bytesPerPixel;
  std::int64_t previousRow = -1;
  for (std::int64_t dy = dest.top; dy < dest.bottom; ++dy) {
    const std::int64_t sy = from.top + NearestSource(dy - y, h, sh);
    std::uint8_t* out = target.At(dest.left, dy);
    if (opaque && sy == previousRow) {
      std::memcpy(out, out - target.stride, static_cast<std::size_t>(rowBytes));
      continue;
    }
    const std::uint8_t* srcRow = source.pixels->row(sy);
    if (source.layout == Layout::Rgb32 && target.layout == Layout::Rgb32) {
      // Opaque onto opaque 32-bit pixels: the result is the source pixel itself.
      auto* pixel = reinterpret_cast<std::uint32_t*>(out);
      for (std::int64_t offset : columns) std::memcpy(pixel++, srcRow + offset, 4);
      previousRow = sy;
      continue;
    }
    std::uint8_t* to = gathered.data();
    for (std::int64_t offset : columns) {
      std::memcpy(to, srcRow + offset, static_cast<std::size_t>(bpp));
      to += bpp;
    }
    BlendRow(target.layout, out, source.layout, gathered.data(), width);
    previousRow = sy;
  }
  return Gdiplus::Ok;
}

}  // namespace

}  // namespace korvanth::imaging

namespace Gdiplus::DllExports {

GpStatus GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width,
                            INT height) {
  korvanth::imaging::LinuxBitmap* bitmap = korvanth::imaging::AsBitmap(image);
  if (graphics == nullptr || bitmap == nullptr || bitmap->disposed) return InvalidParameter;
  if (width == bitmap->pixels.width() && height == bitmap->pixels.height())
    return korvanth::imaging::DrawUnscaled(graphics, image, x, y, 0, 0, width, height);
  return korvanth::imaging::DrawScaled(
      graphics, image, x, y, width, height,
      korvanth::imaging::Box{0, 0, bitmap->pixels.width(), bitmap->pixels.height()});
}

GpStatus GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty,
                                INT dstwidth, INT dstheight, INT srcx, INT srcy, INT srcwidth,
                                INT srcheight, GpUnit srcUnit, const GpImageAttributes* attributes,
                                DrawImageAbort, VOID*) {
  korvanth::imaging::LinuxBitmap* bitmap = korvanth::imaging::AsBitmap(image);
  if (graphics == nullptr || bitmap == nullptr || bitmap->disposed) return InvalidParameter;
  if (srcUnit != UnitPixel || attributes != nullptr) return InvalidParameter;
  if (srcwidth < 0 || srcheight < 0) return InvalidParameter;
  // Only source pixels inside the picture are ever read.
  const korvanth::imaging::Box inside =
      korvanth::imaging::Box{0, 0, bitmap->pixels.width(), bitmap->pixels.height()};
  const korvanth::imaging::Box from =
      korvanth::imaging::Box::FromXYWH(srcx, srcy, srcwidth, srcheight);
  const korvanth::imaging::Box kept = from.intersected(inside);
  if (kept.left != from.left || kept.top != from.top || kept.right != from.right ||
      kept.bottom != from.bottom)
    return InvalidParameter;
  if (dstwidth == srcwidth && dstheight == srcheight)
    return korvanth::imaging::DrawUnscaled(graphics, image, dstx, dsty, srcx, srcy, srcwidth,
                                           srcheight);
  return korvanth::imaging::DrawScaled(graphics, image, dstx, dsty, dstwidth, dstheight, from);
}

GpStatus GdipDrawImagePointRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT srcx,
                                 INT srcy, INT srcwidth, INT srcheight, GpUnit srcUnit) {
  if (graphics == nullptr || image == nullptr) return InvalidParameter;
  if (srcUnit != UnitPixel) return InvalidParameter;
  return korvanth::imaging::DrawUnscaled(graphics, image, x, y, srcx, srcy, srcwidth, srcheight);
}

}  // namespace Gdiplus::DllExports
