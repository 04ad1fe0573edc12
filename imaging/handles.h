// Owning handles around GDI+ objects. Each keeps a last status: the status of its
// creation, then that of every later call on it that fails; success never clears it.
#pragma once

#include "imaging/gdiplus_api.h"
#include "imaging/picture_region.h"

namespace korvanth {

class ImageHandle {
 public:
  ImageHandle() = default;
  ~ImageHandle();
  ImageHandle(const ImageHandle&) = delete;
  ImageHandle& operator=(const ImageHandle&) = delete;
  ImageHandle(ImageHandle&& other) noexcept;
  ImageHandle& operator=(ImageHandle&& other) noexcept;

  static ImageHandle FromFile(const WCHAR* path);
  // Only the region of the picture file that a block at (x, y) needs (see picture_region.h).
  static ImageHandle FromPictureRegion(const WCHAR* path, std::int64_t x, std::int64_t y,
                                       std::int64_t blockWidth, std::int64_t blockHeight,
                                       imaging::LoadedRegion& loaded);
  static ImageHandle FromScan0(INT width, INT height, PixelFormat format);
  // A bitmap over the caller's pixel rows (top-down, `stride` bytes apart), which must
  // outlive it; their contents are taken as they are.
  static ImageHandle FromScan0(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0);

  GpImage* image() const { return image_; }
  GpBitmap* bitmap() const { return static_cast<GpBitmap*>(image_); }
  bool empty() const { return image_ == nullptr; }
  GpStatus lastStatus() const { return lastStatus_; }
  // Stores a failing status and passes any status through.
  GpStatus Record(GpStatus status);

  // Size queries as the callers use them: a preset 0 stays when the call fails.
  UINT Width();
  UINT Height();

 private:
  GpImage* image_ = nullptr;
  GpStatus lastStatus_ = Ok;
};

class GraphicsHandle {
 public:
  GraphicsHandle() = default;
  ~GraphicsHandle();
  GraphicsHandle(const GraphicsHandle&) = delete;
  GraphicsHandle& operator=(const GraphicsHandle&) = delete;
  GraphicsHandle(GraphicsHandle&& other) noexcept;
  GraphicsHandle& operator=(GraphicsHandle&& other) noexcept;

  static GraphicsHandle FromImage(ImageHandle& image);
  static GraphicsHandle FromHDC(HDC dc);

  GpGraphics* graphics() const { return graphics_; }
  GpStatus lastStatus() const { return lastStatus_; }
  GpStatus Record(GpStatus status);

 private:
  GpGraphics* graphics_ = nullptr;
  GpStatus lastStatus_ = Ok;
};

class BrushHandle {
 public:
  BrushHandle() = default;
  ~BrushHandle();
  BrushHandle(const BrushHandle&) = delete;
  BrushHandle& operator=(const BrushHandle&) = delete;
  BrushHandle(BrushHandle&& other) noexcept;
  BrushHandle& operator=(BrushHandle&& other) noexcept;

  static BrushHandle Solid(ARGB colour);

  GpBrush* brush() const { return brush_; }
  GpStatus lastStatus() const { return lastStatus_; }
  GpStatus Record(GpStatus status);

 private:
  GpSolidFill* brush_ = nullptr;
  GpStatus lastStatus_ = Ok;
};

class PenHandle {
 public:
  PenHandle() = default;
  ~PenHandle();
  PenHandle(const PenHandle&) = delete;
  PenHandle& operator=(const PenHandle&) = delete;
  PenHandle(PenHandle&& other) noexcept;
  PenHandle& operator=(PenHandle&& other) noexcept;

  static PenHandle Create(ARGB colour, REAL width, GpUnit unit);

  GpPen* pen() const { return pen_; }
  GpStatus lastStatus() const { return lastStatus_; }
  GpStatus Record(GpStatus status);

 private:
  GpPen* pen_ = nullptr;
  GpStatus lastStatus_ = Ok;
};

}  // namespace korvanth
