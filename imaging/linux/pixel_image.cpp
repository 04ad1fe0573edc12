// Allocation and copying of pixel rows; every size is checked before it is multiplied out.
#include "imaging/linux/pixel_image.h"

#include <cstring>

#include "imaging/picture_header.h"

namespace korvanth::imaging {

int BytesPerPixel(Layout layout) { return layout == Layout::Bgr24 ? 3 : 4; }

bool FitsPixelLimit(std::int64_t width, std::int64_t height, int bytesPerPixel) {
  if (width <= 0 || height <= 0 || width > kMaxPictureBytes || height > kMaxPictureBytes)
    return false;
  // Each factor is at most 2^30, so the product of the first two fits 64 bits.
  if (width * height > kMaxPictureBytes) return false;
  return width * height * bytesPerPixel <= kMaxPictureBytes;
}

PixelImage PixelImage::Create(std::int64_t width, std::int64_t height, Layout layout) {
  const int bytesPerPixel = BytesPerPixel(layout);
  if (!FitsPixelLimit(width, height, bytesPerPixel)) return PixelImage();
  const std::int64_t stride = (width * bytesPerPixel + 3) & ~std::int64_t{3};
  // Zeroed memory straight from the allocator: large blocks arrive as fresh zero pages,
  // so no clearing pass is paid, and row padding never leaves uninitialised.
  auto* memory = static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(stride), height));
  if (memory == nullptr) return PixelImage();
  // The same image as one borrowed over these rows, which it then owns.
  PixelImage image = Borrow(memory, width, height, stride, layout);
  image.owned_.reset(memory);
  return image;
}

PixelImage PixelImage::Borrow(std::uint8_t* bits, std::int64_t width, std::int64_t height,
                              std::int64_t stride, Layout layout) {
  if (bits == nullptr || width <= 0 || height <= 0 || width > kMaxPictureBytes ||
      stride < width * BytesPerPixel(layout))
    return PixelImage();
  PixelImage image;
  image.bits_ = bits;
  image.width_ = width;
  image.height_ = height;
  image.stride_ = stride;
  image.layout_ = layout;
  return image;
}

PixelImage PixelImage::Copy() const {
  if (isNull()) return PixelImage();
  PixelImage copy = Create(width_, height_, layout_);
  if (copy.isNull()) return copy;
  const auto rowBytes = static_cast<std::size_t>(width_ * bytesPerPixel());
  for (std::int64_t y = 0; y < height_; ++y) std::memcpy(copy.row(y), row(y), rowBytes);
  return copy;
}

}  // namespace korvanth::imaging
