// Owning GDI+ handles for images, graphics, brushes and pens, each keeping its last failure.
#include "imaging/handles.h"

#include <utility>

namespace korvanth {

namespace {
template <typename T>
void TakeOver(T*& mine, GpStatus& myStatus, T*& theirs, GpStatus& theirStatus) {
  mine = std::exchange(theirs, nullptr);
  myStatus = std::exchange(theirStatus, Ok);
}
}  // namespace

// ImageHandle

ImageHandle::~ImageHandle() {
  if (image_) GdipDisposeImage(image_);
}

ImageHandle::ImageHandle(ImageHandle&& other) noexcept {
  TakeOver(image_, lastStatus_, other.image_, other.lastStatus_);
}

ImageHandle& ImageHandle::operator=(ImageHandle&& other) noexcept {
  if (this != &other) {
    if (image_) GdipDisposeImage(image_);
    TakeOver(image_, lastStatus_, other.image_, other.lastStatus_);
  }
  return *this;
}

ImageHandle ImageHandle::FromFile(const WCHAR* path) {
  ImageHandle handle;
  GpBitmap* bitmap = nullptr;
  handle.lastStatus_ = GdipCreateBitmapFromFile(path, &bitmap);
  if (handle.lastStatus_ == Ok) handle.image_ = bitmap;
  return handle;
}

ImageHandle ImageHandle::FromPictureRegion(const WCHAR* path, std::int64_t x, std::int64_t y,
                                           std::int64_t blockWidth, std::int64_t blockHeight,
                                           imaging::LoadedRegion& loaded) {
  ImageHandle handle;
  GpBitmap* bitmap = nullptr;
  handle.lastStatus_ =
      imaging::LoadPictureRegion(path, x, y, blockWidth, blockHeight, &bitmap, loaded);
  if (handle.lastStatus_ == Ok) handle.image_ = bitmap;
  return handle;
}

ImageHandle ImageHandle::FromScan0(INT width, INT height, PixelFormat format) {
  ImageHandle handle;
  GpBitmap* bitmap = nullptr;
  handle.lastStatus_ = GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &bitmap);
  if (handle.lastStatus_ == Ok) handle.image_ = bitmap;
  return handle;
}

ImageHandle ImageHandle::FromScan0(INT width, INT height, INT stride, PixelFormat format,
                                   BYTE* scan0) {
  ImageHandle handle;
  GpBitmap* bitmap = nullptr;
  handle.lastStatus_ = GdipCreateBitmapFromScan0(width, height, stride, format, scan0, &bitmap);
  if (handle.lastStatus_ == Ok) handle.image_ = bitmap;
  return handle;
}

GpStatus ImageHandle::Record(GpStatus status) {
  if (status != Ok) lastStatus_ = status;
  return status;
}

UINT ImageHandle::Width() {
  UINT width = 0;
  if (Record(GdipGetImageWidth(image_, &width)) != Ok) return 0;
  return width;
}

UINT ImageHandle::Height() {
  UINT height = 0;
  if (Record(GdipGetImageHeight(image_, &height)) != Ok) return 0;
  return height;
}

// GraphicsHandle

GraphicsHandle::~GraphicsHandle() {
  if (graphics_) GdipDeleteGraphics(graphics_);
}

GraphicsHandle::GraphicsHandle(GraphicsHandle&& other) noexcept {
  TakeOver(graphics_, lastStatus_, other.graphics_, other.lastStatus_);
}

GraphicsHandle& GraphicsHandle::operator=(GraphicsHandle&& other) noexcept {
  if (this != &other) {
    if (graphics_) GdipDeleteGraphics(graphics_);
    TakeOver(graphics_, lastStatus_, other.graphics_, other.lastStatus_);
  }
  return *this;
}

GraphicsHandle GraphicsHandle::FromImage(ImageHandle& image) {
  GraphicsHandle handle;
  GpGraphics* graphics = nullptr;
  handle.lastStatus_ = image.Record(GdipGetImageGraphicsContext(image.image(), &graphics));
  if (handle.lastStatus_ == Ok) handle.graphics_ = graphics;
  return handle;
}

GraphicsHandle GraphicsHandle::FromHDC(HDC dc) {
  GraphicsHandle handle;
  GpGraphics* graphics = nullptr;
  handle.lastStatus_ = GdipCreateFromHDC(dc, &graphics);
  if (handle.lastStatus_ == Ok) handle.graphics_ = graphics;
  return handle;
}

GpStatus GraphicsHandle::Record(GpStatus status) {
  if (status != Ok) lastStatus_ = status;
  return status;
}

// BrushHandle

BrushHandle::~BrushHandle() {
  if (brush_) GdipDeleteBrush(brush_);
}

BrushHandle::BrushHandle(BrushHandle&& other) noexcept {
  TakeOver(brush_, lastStatus_, other.brush_, other.lastStatus_);
}

BrushHandle& BrushHandle::operator=(BrushHandle&& other) noexcept {
  if (this != &other) {
    if (brush_) GdipDeleteBrush(brush_);
    TakeOver(brush_, lastStatus_, other.brush_, other.lastStatus_);
  }
  return *this;
}

BrushHandle BrushHandle::Solid(ARGB colour) {
  BrushHandle handle;
  GpSolidFill* brush = nullptr;
  handle.lastStatus_ = GdipCreateSolidFill(colour, &brush);
  if (handle.lastStatus_ == Ok) handle.brush_ = brush;
  return handle;
}

GpStatus BrushHandle::Record(GpStatus status) {
  if (status != Ok) lastStatus_ = status;
  return status;
}

// PenHandle

PenHandle::~PenHandle() {
  if (pen_) GdipDeletePen(pen_);
}

PenHandle::PenHandle(PenHandle&& other) noexcept {
  TakeOver(pen_, lastStatus_, other.pen_, other.lastStatus_);
}

PenHandle& PenHandle::operator=(PenHandle&& other) noexcept {
  if (this != &other) {
    if (pen_) GdipDeletePen(pen_);
    TakeOver(pen_, lastStatus_, other.pen_, other.lastStatus_);
  }
  return *this;
}

PenHandle PenHandle::Create(ARGB colour, REAL width, GpUnit unit) {
  PenHandle handle;
  GpPen* pen = nullptr;
  handle.lastStatus_ = GdipCreatePen1(colour, width, unit, &pen);
  if (handle.lastStatus_ == Ok) handle.pen_ = pen;
  return handle;
}

GpStatus PenHandle::Record(GpStatus status) {
  if (status != Ok) lastStatus_ = status;
  return status;
}

}  // namespace korvanth
