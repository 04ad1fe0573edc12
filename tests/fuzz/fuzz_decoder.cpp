// One format decoder over any bytes; built once for each decoder, named by
// KORVANTH_FUZZ_DECODER. A decode that succeeds gives 32-bit pixels, as the loader
// expects, and when the header reader admitted the file, of the size it read: the memory
// bound (and on Windows the only check before GDI+) is judged on that size. Files the
// header reader refuses never reach a decoder through the loader. Any band of the rows of
// a picture that decodes, narrowed to some columns, decodes too, to the same pixels.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>

#include "imaging/linux/picture_decoders.h"
#include "tests/fuzz/fuzz_input.h"

using namespace korvanth::imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvanth::fuzz::InputFile input(data, size);
  if (input.file() == nullptr) return 0;
  const PictureHeader header = korvanth::fuzz::ReadHeader(input.file());
  if (!korvanth::fuzz::WithinFuzzBudget(header)) return 0;
  DecodedPicture decoded;
  if (KORVANTH_FUZZ_DECODER(input.file(), decoded) != Gdiplus::Ok) return 0;
  const PixelImage& pixels = decoded.pixels;
  if (pixels.isNull() || pixels.layout() == Layout::Bgr24) {
    std::fprintf(stderr, "decoded into layout %d, null %d\n", static_cast<int>(pixels.layout()),
                 pixels.isNull());
    std::abort();
  }
  if (header.verdict == HeaderVerdict::Fits &&
      (pixels.width() != header.needs.width || pixels.height() != header.needs.height)) {
    std::fprintf(stderr, "decoded %lld x %lld; the header reader admitted %lld x %lld\n",
                 static_cast<long long>(pixels.width()), static_cast<long long>(pixels.height()),
                 static_cast<long long>(header.needs.width),
                 static_cast<long long>(header.needs.height));
    std::abort();
  }
  // A band of the rows (chosen by the input's length) decodes too, to the same pixels.
  const std::int64_t height = pixels.height();
  RowBand band;
  band.first = static_cast<std::int64_t>(size % static_cast<std::size_t>(height));
  band.count = 1 + static_cast<std::int64_t>(size / 7 % static_cast<std::size_t>(height));
  const std::int64_t width = pixels.width();
  band.left = static_cast<std::int64_t>(size / 13 % static_cast<std::size_t>(width));
  band.width = 1 + static_cast<std::int64_t>(size / 17 % static_cast<std::size_t>(width));
  std::rewind(input.file());
  DecodedPicture part;
  if (KORVANTH_FUZZ_DECODER(input.file(), part, band) != Gdiplus::Ok ||
      part.pixels.layout() != pixels.layout() || part.firstRow > band.first ||
      part.firstRow + part.pixels.height() < std::min(band.end(), height) ||
      part.firstColumn > band.left ||
      part.firstColumn + part.pixels.width() < std::min(band.left + band.width, width) ||
      part.firstColumn + part.pixels.width() > width) {
    std::fprintf(stderr, "rows %lld + %lld of a decoded picture did not decode\n",
                 static_cast<long long>(band.first), static_cast<long long>(band.count));
    std::abort();
  }
  const int bytesPerPixel = pixels.bytesPerPixel();
  const auto rowBytes = static_cast<std::size_t>(part.pixels.width() * bytesPerPixel);
  for (std::int64_t y = part.firstRow; y < part.firstRow + part.pixels.height(); ++y)
    if (std::memcmp(part.pixels.row(y - part.firstRow),
                    pixels.row(y) + part.firstColumn * bytesPerPixel, rowBytes) != 0) {
      std::fprintf(stderr, "row %lld of a band differs from the whole picture's\n",
                   static_cast<long long>(y));
      std::abort();
    }
  return 0;
}
