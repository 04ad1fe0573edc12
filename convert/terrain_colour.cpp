// A terrain's panel colour: the alpha-weighted mean of its full tile's pixels.
#include "convert/terrain_colour.h"

namespace korvanth {

std::optional<std::uint32_t> MeanOpaqueColour(ImageHandle& sheet, int x, int y, int size) {
  if (sheet.empty() || size <= 0) return std::nullopt;
  GpRect square{x, y, size, size};
  BitmapData data{};
  if (GdipBitmapLockBits(sheet.bitmap(), &square, ImageLockModeRead, PixelFormat32bppARGB, &data) !=
      Ok)
    return std::nullopt;
  // At most 128 x 128 pixels of 255 each: the sums fit 64 bits with room to spare.
  std::uint64_t weight = 0, red = 0, green = 0, blue = 0;
  for (int row = 0; row < size; ++row) {
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(
        static_cast<const BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(row) * data.Stride);
    for (int column = 0; column < size; ++column) {
      const std::uint32_t argb = pixels[column];
      const std::uint64_t alpha = argb >> 24;
      weight += alpha;
      red += alpha * (argb >> 16 & 0xFF);
      green += alpha * (argb >> 8 & 0xFF);
      blue += alpha * (argb & 0xFF);
    }
  }
  GdipBitmapUnlockBits(sheet.bitmap(), &data);
  if (weight == 0) return std::nullopt;
  auto mean = [weight](std::uint64_t sum) {
    return static_cast<std::uint32_t>((sum + weight / 2) / weight);
  };
  return mean(red) << 16 | mean(green) << 8 | mean(blue);
}

}  // namespace korvanth
