// The format decoders behind GdipCreateBitmapFromFile. Each reads an open file from its
// start into 32-bit pixels (ARGB32 when the picture carries transparency, RGB32 when not)
// and says nothing on standard error. Each refuses, before allocating the picture, what
// would decode beyond the memory bound.
#pragma once

#include <QImage>

#include <cstdint>
#include <cstdio>

#include "imaging/portable/gdiplus_flat.h"

namespace korvanth::imaging {

struct DecodedPicture {
  QImage pixels;
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

// A picture of the given size and kind, or a null image when memory cannot be had.
QImage AllocatePicture(std::int64_t width, std::int64_t height, bool withAlpha);

// Resolution in dots per inch from a density and its unit, 96 when none is recorded.
float DpiFromDensity(double density, double unitsPerInch);

}  // namespace korvanth::imaging
