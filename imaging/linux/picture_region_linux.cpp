// Off Windows the decoders keep only the rows of the block where their format allows it
// (see picture_decoders.h); the region is then cut out of what they kept.
#include <algorithm>
#include <cstring>

#include "imaging/picture_region.h"
#include "imaging/linux/gp_objects.h"
#include "imaging/linux/picture_decoders.h"

namespace korvanth::imaging {

GpStatus LoadPictureRegion(const WCHAR* path, std::int64_t x, std::int64_t y,
                           std::int64_t blockWidth, std::int64_t blockHeight, GpBitmap** bitmap,
                           LoadedRegion& loaded) {
  if (path == nullptr || bitmap == nullptr) return InvalidParameter;
  *bitmap = nullptr;
  // The block's rows that lie in the picture (or the nearest row), as RegionForBlock
  // takes them; the decoder clamps them to the picture's height.
  RowBand band;
  band.first = std::max<std::int64_t>(y, 0);
  band.count = y < 0 ? y + blockHeight : blockHeight;
  band.left = std::max<std::int64_t>(x, 0);
  band.width = x < 0 ? x + blockWidth : blockWidth;
  DecodedPicture decoded;
  if (GpStatus status = DecodeFile(path, band, decoded); status != Ok) return status;
  const PixelImage& held = decoded.pixels;
  loaded.pictureWidth = decoded.pictureWidth > 0 ? decoded.pictureWidth : held.width();
  loaded.pictureHeight = decoded.pictureHeight > 0 ? decoded.pictureHeight : held.height();
  loaded.region =
      RegionForBlock(loaded.pictureWidth, loaded.pictureHeight, x, y, blockWidth, blockHeight);
  const PixelArea& area = loaded.region;
  if (area.top < decoded.firstRow || area.top + area.height > decoded.firstRow + held.height() ||
      area.left < decoded.firstColumn ||
      area.left + area.width > decoded.firstColumn + held.width())
    return GenericError;  // the decoder kept other pixels than the band asked for

  PixelImage part = PixelImage::Create(area.width, area.height, held.layout());
  if (part.isNull()) return OutOfMemory;
  const int bytesPerPixel = held.bytesPerPixel();
  for (std::int64_t row = 0; row < area.height; ++row)
    std::memcpy(part.row(row),
                held.row(area.top - decoded.firstRow + row) +
                    (area.left - decoded.firstColumn) * bytesPerPixel,
                static_cast<std::size_t>(area.width * bytesPerPixel));
  *bitmap = NewBitmap(std::move(part), decoded.dpiX, decoded.dpiY);
  return *bitmap != nullptr ? Ok : OutOfMemory;
}

}  // namespace korvanth::imaging
