// Fuzz bytes as a real file in anonymous memory, its header read, slow sizes left out.
#include "tests/fuzz/fuzz_input.h"

#include <sys/mman.h>
#include <unistd.h>

namespace korvanth::fuzz {

namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, size);
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// 2048 x 2048 pixels: large enough for every seed and its mutations, small enough to
// keep thousands of runs a minute.
constexpr std::int64_t kFuzzMaxPixels = std::int64_t{2048} * 2048;

}  // namespace

InputFile::InputFile(const std::uint8_t* data, std::size_t size) {
  const int fd = memfd_create("korvanth-fuzz-input", MFD_CLOEXEC);
  if (fd < 0) return;
  if (!WriteAll(fd, data, size) || lseek(fd, 0, SEEK_SET) != 0 ||
      (file_ = fdopen(fd, "rb")) == nullptr)
    close(fd);
}

InputFile::~InputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

std::string InputFile::path() const { return "/proc/self/fd/" + std::to_string(fileno(file_)); }

imaging::PictureHeader ReadHeader(std::FILE* file) {
  const imaging::PictureHeader header = imaging::ReadPictureHeader(file);
  std::rewind(file);
  return header;
}

bool WithinFuzzBudget(const imaging::PictureHeader& header) {
  if (header.verdict != imaging::HeaderVerdict::Fits) return true;
  return header.needs.width * header.needs.height <= kFuzzMaxPixels;
}

}  // namespace korvanth::fuzz
