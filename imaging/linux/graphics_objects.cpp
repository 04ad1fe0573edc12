// Graphics surfaces, their clip, and the brush and pen objects.
#include <cmath>
#include <limits>
#include <new>

#include "imaging/linux/compositing.h"
#include "imaging/linux/device_context.h"
#include "imaging/linux/gp_objects.h"

namespace korvanth::imaging {

Box LinuxGraphics::DrawableArea() const {
  Box bounds{0, 0, target->width(), target->height()};
  return clipped ? bounds.intersected(clip) : bounds;
}

}  // namespace korvanth::imaging

namespace Gdiplus::DllExports {

using korvanth::imaging::AsBitmap;
using korvanth::imaging::Box;
using korvanth::imaging::LinuxBitmap;
using korvanth::imaging::LinuxGraphics;
using korvanth::imaging::LinuxPen;
using korvanth::imaging::LinuxSolidFill;

GpStatus GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics) {
  LinuxBitmap* bitmap = AsBitmap(image);
  if (bitmap == nullptr || bitmap->disposed || graphics == nullptr) return InvalidParameter;
  *graphics = nullptr;
  auto* created = new (std::nothrow) LinuxGraphics;
  if (created == nullptr) return OutOfMemory;
  created->target = &bitmap->pixels;
  created->owner = bitmap;
  ++bitmap->attachedGraphics;
  *graphics = created;
  return Ok;
}

GpStatus GdipCreateFromHDC(HDC hdc, GpGraphics** graphics) {
  if (graphics == nullptr) return InvalidParameter;
  *graphics = nullptr;
  if (hdc == nullptr || hdc->surface.isNull()) return InvalidParameter;
  auto* created = new (std::nothrow) LinuxGraphics;
  if (created == nullptr) return OutOfMemory;
  created->target = &hdc->surface;
  *graphics = created;
  return Ok;
}

GpStatus GdipDeleteGraphics(GpGraphics* graphics) {
  auto* g = static_cast<LinuxGraphics*>(graphics);
  if (g == nullptr) return InvalidParameter;
  LinuxBitmap* owner = g->owner;
  delete g;
  if (owner != nullptr) {
    --owner->attachedGraphics;
    korvanth::imaging::ReleaseBitmapIfUnused(owner);
  }
  return Ok;
}

GpStatus GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height,
                          CombineMode combineMode) {
  auto* g = static_cast<LinuxGraphics*>(graphics);
  if (g == nullptr) return InvalidParameter;
  // A rectangle with a negative side encloses nothing.
  const Box rect = width < 0 || height < 0 ? Box{} : Box::FromXYWH(x, y, width, height);
  switch (combineMode) {
    case CombineModeReplace:
      g->clip = rect;
      break;
    case CombineModeIntersect:
      g->clip = g->clipped ? g->clip.intersected(rect) : rect;
      break;
    default:
      // Other modes can make a clip that is no longer one rectangle.
      return NotImplemented;
  }
  g->clipped = true;
  return Ok;
}

GpStatus GdipResetClip(GpGraphics* graphics) {
  auto* g = static_cast<LinuxGraphics*>(graphics);
  if (g == nullptr) return InvalidParameter;
  g->clipped = false;
  g->clip = Box{};
  return Ok;
}

GpStatus GdipSetInterpolationMode(GpGraphics* graphics, InterpolationMode interpolationMode) {
  auto* g = static_cast<LinuxGraphics*>(graphics);
  if (g == nullptr || interpolationMode < InterpolationModeDefault ||
      interpolationMode > InterpolationModeHighQualityBicubic)
    return InvalidParameter;
  g->interpolation = interpolationMode;
  return Ok;
}

GpStatus GdipSetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode pixelOffsetMode) {
  auto* g = static_cast<LinuxGraphics*>(graphics);
  if (g == nullptr || pixelOffsetMode < PixelOffsetModeDefault ||
      pixelOffsetMode > PixelOffsetModeHalf)
    return InvalidParameter;
  g->pixelOffset = pixelOffsetMode;
  return Ok;
}

GpStatus GdipCreateSolidFill(ARGB color, GpSolidFill** brush) {
  if (brush == nullptr) return InvalidParameter;
  auto* created = new (std::nothrow) LinuxSolidFill;
  if (created == nullptr) return OutOfMemory;
  created->colour = color;
  *brush = created;
  return Ok;
}

GpStatus GdipDeleteBrush(GpBrush* brush) {
  if (brush == nullptr) return InvalidParameter;
  delete static_cast<LinuxSolidFill*>(static_cast<GpSolidFill*>(brush));
  return Ok;
}

GpStatus GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen) {
  if (pen == nullptr) return InvalidParameter;
  *pen = nullptr;
  // Without a page transform world units and pixels are the same.
  if (unit != UnitWorld && unit != UnitPixel) return InvalidParameter;
  if (!std::isfinite(width) || width < 0.0f || width > 1.0e6f) return InvalidParameter;
  auto* created = new (std::nothrow) LinuxPen;
  if (created == nullptr) return OutOfMemory;
  created->colour = color;
  created->width = width;
  *pen = created;
  return Ok;
}

GpStatus GdipDeletePen(GpPen* pen) {
  if (pen == nullptr) return InvalidParameter;
  delete static_cast<LinuxPen*>(pen);
  return Ok;
}

}  // namespace Gdiplus::DllExports
