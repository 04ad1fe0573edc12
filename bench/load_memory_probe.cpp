// Peak memory of loading one picture: prints the peak resident size before and after
// the load and the picture's own bytes (width x height x 4).
// Usage: load_memory_probe PICTURE
#include <sys/resource.h>

#include <cstdio>

#include "convert/picture_file.h"

using namespace korvanth;

namespace {
long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: load_memory_probe PICTURE\n");
    return 2;
  }
  // Warm up the decoders with a failed load so their libraries are in memory.
  ImageHandle picture;
  LoadPictureNamed("/nonexistent.png", picture);
  const long before = PeakKiB();
  LoadPictureNamed(argv[1], picture);
  const long after = PeakKiB();
  const int width = static_cast<int>(picture.Width());
  const int height = static_cast<int>(picture.Height());
  const double pictureKiB = width * 4.0 * height / 1024.0;
  std::printf(
      "picture %dx%d: own bytes %.0f KiB, peak before %ld KiB, after %ld KiB, "
      "growth %.1f %% of the picture's bytes\n",
      width, height, pictureKiB, before, after, 100.0 * (after - before) / pictureKiB);
  return 0;
}
