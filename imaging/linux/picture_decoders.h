// The format decoders behind GdipCreateBitmapFromFile. Each reads an open file from its
// start into 32-bit pixels (ARGB32 when the picture carries transparency, RGB32 when not)
// and says nothing on standard error. Each refuses, before allocating the picture, what
// would decode beyond the memory bound. Asked for a band of rows, a decoder may keep
// only those (and stop reading after them); the memory bound is the whole picture's all
// the same, so a file refused whole is refused for a band too.
#pragma once

#include <cstdint>
#include <cstdio>
#include <limits>

#include "imaging/linux/gdiplus_flat.h"
#include "imaging/linux/pixel_image.h"

namespace korvanth::imaging {

// Picture rows [first, first + count).
// Picture rows [first, first + count), and the columns [left, left + width) of them that
// are needed (a decoder that can narrow its rows cheaply keeps only those).
struct RowBand {
  std::int64_t first = 0;
  std::int64_t count = std::numeric_limits<std::int64_t>::max();
  std::int64_t left = 0;
  std::int64_t width = std::numeric_limits<std::int64_t>::max();

  // The band within a picture of `height` rows: never empty, first inside the picture
  // (the columns as they were).
  RowBand ClampedTo(std::int64_t height) const;
  std::int64_t end() const { return first + count; }
};

struct DecodedPicture {
  PixelImage pixels;               // the band's rows (or the whole picture), full width or narrowed
  std::int64_t firstRow = 0;       // the picture row of the first row held
  std::int64_t firstColumn = 0;    // the picture column of the first column held
  std::int64_t pictureWidth = 0;   // set by a decoder that narrowed its rows
  std::int64_t pictureHeight = 0;  // set by a decoder that kept a band only
  float dpiX = 96.0f;
  float dpiY = 96.0f;
};

// Statuses: Ok; ValueOverflow when the picture is too large to decode within the bound;
// GenericError when the file is damaged or cut short; OutOfMemory when the picture's
// memory cannot be had.
// Non-interlaced PNG, single-scan JPEG, TIFF read by samples and BMP keep the band;
// the others decode the whole picture.
Gdiplus::GpStatus DecodePng(std::FILE* file, DecodedPicture& out, const RowBand& band = {});
Gdiplus::GpStatus DecodeJpeg(std::FILE* file, DecodedPicture& out, const RowBand& band = {});
Gdiplus::GpStatus DecodeGif(std::FILE* file, DecodedPicture& out, const RowBand& band = {});
// NotImplemented when libtiff cannot be loaded.
Gdiplus::GpStatus DecodeTiff(std::FILE* file, DecodedPicture& out, const RowBand& band = {});
Gdiplus::GpStatus DecodeBmp(std::FILE* file, DecodedPicture& out, const RowBand& band = {});

// Opens the regular file named in UTF-16 and decodes it by its content.
Gdiplus::GpStatus DecodeFile(const char16_t* filename, const RowBand& band, DecodedPicture& out);

// A zeroed picture of the given size and kind (Argb32 or Rgb32), or a null image when
// memory cannot be had.
PixelImage AllocatePicture(std::int64_t width, std::int64_t height, bool withAlpha);

// Sets every pixel of a 32-bit picture to `value` (0xAARRGGBB).
void FillPixels(PixelImage& picture, std::uint32_t value);

// Resolution in dots per inch from a density and its unit, 96 when none is recorded.
float DpiFromDensity(double density, double unitsPerInch);

}  // namespace korvanth::imaging
