// The objects behind the opaque GDI+ pointers off Windows. Every image is a
// LinuxBitmap; graphics surfaces draw straight into its pixels or a device context's.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/picture_header.h"
#include "imaging/linux/gdiplus_flat.h"
#include "imaging/linux/pixel_image.h"

namespace korvanth::imaging {

// An integer rectangle in 64-bit so that x + width never overflows.
struct Box {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;  // exclusive
  std::int64_t bottom = 0;

  bool empty() const { return right <= left || bottom <= top; }
  Box intersected(const Box& o) const;
  static Box FromXYWH(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
    return Box{x, y, x + w, y + h};
  }
};

// What a LockBits call handed out, kept until the matching unlock.
struct PixelLock {
  bool active = false;
  bool zeroCopy = false;
  bool writeBack = false;
  Gdiplus::PixelFormat format = 0;
  Box area;
  std::uint8_t* buffer = nullptr;  // the rows handed to the caller
  std::int64_t stride = 0;
  std::vector<std::uint8_t> scratch;  // conversion buffer when not zero-copy
};

struct LinuxBitmap : Gdiplus::GpBitmap {
  PixelImage pixels;
  float dpiX = 96.0f;
  float dpiY = 96.0f;
  PixelLock lock;
  // Graphics surfaces drawing into this bitmap; a disposed bitmap lives on until they go.
  int attachedGraphics = 0;
  bool disposed = false;
};

struct LinuxGraphics : Gdiplus::GpGraphics {
  PixelImage* target = nullptr;
  LinuxBitmap* owner = nullptr;  // set when drawing into a bitmap
  bool clipped = false;
  Box clip;
  // Stored as GDI+ stores them. Scaled drawing here always samples the source pixel under
  // each destination pixel's centre, which is what nearest neighbour with a half-pixel
  // offset gives on Windows.
  Gdiplus::InterpolationMode interpolation = Gdiplus::InterpolationModeBilinear;
  Gdiplus::PixelOffsetMode pixelOffset = Gdiplus::PixelOffsetModeDefault;

  // The target's bounds limited by the clip; computed once per drawing call.
  Box DrawableArea() const;
};

struct LinuxSolidFill : Gdiplus::GpSolidFill {
  Gdiplus::ARGB colour = 0;
};

struct LinuxPen : Gdiplus::GpPen {
  Gdiplus::ARGB colour = 0;
  float width = 1.0f;
};

// The bitmap behind an image pointer (every image here is a bitmap); null stays null.
inline LinuxBitmap* AsBitmap(Gdiplus::GpImage* image) {
  return static_cast<LinuxBitmap*>(static_cast<Gdiplus::GpBitmap*>(image));
}

// Pixel format tag of a stored layout.
Gdiplus::PixelFormat PixelFormatOf(Layout layout);

// A bitmap owning these pixels; null when memory cannot be had.
LinuxBitmap* NewBitmap(PixelImage pixels, float dpiX, float dpiY);

// Frees the bitmap unless graphics surfaces still draw into it.
void ReleaseBitmapIfUnused(LinuxBitmap* bitmap);

}  // namespace korvanth::imaging
