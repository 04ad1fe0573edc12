// One format decoder over any bytes; built once for each decoder, named by
// KORVANTH_FUZZ_DECODER. A decode that succeeds gives 32-bit pixels, as the loader
// expects, and when the header reader admitted the file, of the size it read: the memory
// bound (and on Windows the only check before GDI+) is judged on that size. Files the
// header reader refuses never reach a decoder through the loader.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "imaging/portable/picture_decoders.h"
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
  return 0;
}
