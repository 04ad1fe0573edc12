// The picture-header reader over any bytes: it must judge them without a fault, and a
// picture it admits must have a size and fit the memory bound. The data of an admitted
// picture is then walked through (picture_data.h), as every loader walks it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "imaging/picture_data.h"
#include "imaging/picture_header.h"
#include "tests/fuzz/fuzz_input.h"

using namespace korvanth::imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvanth::fuzz::InputFile input(data, size);
  if (input.file() == nullptr) return 0;
  const PictureHeader header = ReadPictureHeader(input.file());
  if (header.verdict == HeaderVerdict::Fits &&
      (header.needs.width <= 0 || header.needs.height <= 0 || !FitsMemoryBound(header.needs))) {
    std::fprintf(stderr, "admitted a %lld x %lld picture needing %lld working bytes\n",
                 static_cast<long long>(header.needs.width),
                 static_cast<long long>(header.needs.height),
                 static_cast<long long>(header.needs.workingBytes));
    std::abort();
  }
  if (header.verdict == HeaderVerdict::Fits && korvanth::fuzz::WithinFuzzBudget(header))
    CheckPictureData(input.file(), header.type);
  return 0;
}
