// The format decoders behind GdipCreateBitmapFromFile. Each reads an open file from its
// start into 32-bit pixels (ARGB32 when the picture carries transparency, RGB32 when not)
// and says nothing on standard error. Each refuses, before allocating the picture, what
// would decode beyond the memory bound.
#pragma once

#include <cstdint>
#include <cstdio>

#include "imaging/portable/gdiplus_flat.h"
#include "imaging/portable/pixel_image.h"

namespace korvanth::imaging {

struct DecodedPicture {
  PixelImage pixels;
  float dpiX = 96.0f;
  float dpiY = 96.0f;
};

// Statuses: Ok; ValueOverflow when the picture is too large to decode within the bound;
// GenericError when the file is damaged or cut short; OutOfMemory when the picture's
// memory cannot be had.
Gdiplus::GpStatus DecodePng(std::FILE* file, DecodedPicture& out);
Gdiplus::GpStatus DecodeJpeg(std::FILE* file, DecodedPicture& out);
Gdiplus::GpStatus DecodeGif(std::FILE* file, DecodedPicture& out);
Gdiplus::GpStatus DecodeTiff(std::FILE* file, DecodedPicture& out);
Gdiplus::GpStatus DecodeBmp(std::FILE* file, DecodedPicture& out);
// Only picture rows [firstRow, firstRow + rowCount), clamped to the picture; the
// header is judged for the whole picture all the same.
Gdiplus::GpStatus DecodeBmpRows(std::FILE* file, std::int64_t firstRow, std::int64_t rowCount,
                                DecodedPicture& out);

// A zeroed picture of the given size and kind (Argb32 or Rgb32), or a null image when
// memory cannot be had.
PixelImage AllocatePicture(std::int64_t width, std::int64_t height, bool withAlpha);

// Sets every pixel of a 32-bit picture to `value` (0xAARRGGBB).
void FillPixels(PixelImage& picture, std::uint32_t value);

// Resolution in dots per inch from a density and its unit, 96 when none is recorded.
float DpiFromDensity(double density, double unitsPerInch);

}  // namespace korvanth::imaging
