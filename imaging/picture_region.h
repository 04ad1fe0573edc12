// Loading only the part of a picture file that one block needs. The converter turns one
// block of a picture into a sheet; it needs the picture's size and the pixels under the
// block, not the whole picture decoded.
#pragma once

#include <cstdint>

#include "imaging/gdiplus_api.h"

namespace korvanth::imaging {

struct PixelArea {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
};

// The part of a pictureWidth x pictureHeight picture under a blockWidth x blockHeight
// block at (x, y). Along an axis where the block misses the picture the region takes the
// picture's nearest pixel, so it is never empty (and the block still misses it).
PixelArea RegionForBlock(std::int64_t pictureWidth, std::int64_t pictureHeight, std::int64_t x,
                         std::int64_t y, std::int64_t blockWidth, std::int64_t blockHeight);

struct LoadedRegion {
  std::int64_t pictureWidth = 0;
  std::int64_t pictureHeight = 0;
  PixelArea region;  // where the bitmap lies in the picture
};

// Loads the region of the picture in the file at `path` that the block at (x, y) needs
// into a new bitmap of the region's size (the caller disposes of it), with the picture's
// resolution. The file is judged as a whole load judges it, and the statuses are those
// of GdipCreateBitmapFromFile.
GpStatus LoadPictureRegion(const WCHAR* path, std::int64_t x, std::int64_t y,
                           std::int64_t blockWidth, std::int64_t blockHeight, GpBitmap** bitmap,
                           LoadedRegion& loaded);

}  // namespace korvanth::imaging
