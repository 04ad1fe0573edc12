// The bounded readers: fields from memory, from an open file, and a file's bytes in chunks.
#include "imaging/byte_reader.h"

#include <sys/types.h>

#include <algorithm>

namespace korvanth::imaging {

bool ByteReader::Take(std::size_t count) {
  if (!ok_ || count > bytes_.size() - position_) return ok_ = false;
  return true;
}

std::uint32_t ByteReader::U8() { return Take(1) ? bytes_[position_++] : 0; }

std::uint32_t ByteReader::U16BE() {
  if (!Take(2)) return 0;
  const std::uint32_t value = (std::uint32_t{bytes_[position_]} << 8) | bytes_[position_ + 1];
  position_ += 2;
  return value;
}

std::uint32_t ByteReader::U32BE() {
  if (!Take(4)) return 0;
  const std::uint32_t high = U16BE();
  return (high << 16) | U16BE();
}

std::uint32_t ByteReader::U16LE() {
  if (!Take(2)) return 0;
  const std::uint32_t value = (std::uint32_t{bytes_[position_ + 1]} << 8) | bytes_[position_];
  position_ += 2;
  return value;
}

std::uint32_t ByteReader::U32LE() {
  if (!Take(4)) return 0;
  const std::uint32_t low = U16LE();
  return (U16LE() << 16) | low;
}

std::span<const std::uint8_t> ByteReader::Bytes(std::size_t count) {
  if (!Take(count)) return {};
  const std::span<const std::uint8_t> taken = bytes_.subspan(position_, count);
  position_ += count;
  return taken;
}

bool ByteReader::Seek(std::uint64_t offset) {
  if (!ok_ || offset > bytes_.size()) return ok_ = false;
  position_ = static_cast<std::size_t>(offset);
  return true;
}

namespace {

// 64-bit positions on every host (a 32-bit Windows `long` stops at 2 GiB).
bool SeekTo(std::FILE* file, std::uint64_t offset, int whence) {
#ifdef _WIN32
  return ::_fseeki64(file, static_cast<__int64>(offset), whence) == 0;
#else
  return ::fseeko(file, static_cast<off_t>(offset), whence) == 0;
#endif
}

std::int64_t PositionOf(std::FILE* file) {
#ifdef _WIN32
  return ::_ftelli64(file);
#else
  return ::ftello(file);
#endif
}

}  // namespace

FileReader::FileReader(std::FILE* file) : file_(file) {
  const std::int64_t start = file == nullptr ? -1 : PositionOf(file);
  if (start < 0 || !SeekTo(file, 0, SEEK_END)) {
    Fail();
    return;
  }
  const std::int64_t end = PositionOf(file);
  if (end < start || !SeekTo(file, static_cast<std::uint64_t>(start), SEEK_SET)) {
    Fail();
    return;
  }
  size_ = static_cast<std::uint64_t>(end);
  position_ = static_cast<std::uint64_t>(start);
}

bool FileReader::Read(std::size_t count, std::vector<std::uint8_t>& into) {
  into.clear();
  if (!ok_ || count > size_ - position_) return Fail();
  into.resize(count);
  if (count > 0 && std::fread(into.data(), 1, count, file_) != count) {
    into.clear();
    return Fail();
  }
  position_ += count;
  return true;
}

int FileReader::NextByte() {
  if (!ok_ || position_ >= size_) return -1;
  const int c = std::fgetc(file_);
  if (c == EOF) {
    Fail();
    return -1;
  }
  ++position_;
  return c;
}

bool FileReader::Skip(std::uint64_t count) {
  if (!ok_ || count > size_ - position_) return Fail();
  return Seek(position_ + count);
}

bool FileReader::Seek(std::uint64_t offset) {
  if (!ok_ || offset > size_ || !SeekTo(file_, offset, SEEK_SET)) return Fail();
  position_ = offset;
  return true;
}

bool ByteStream::Refill() {
  constexpr std::uint64_t kChunk = 64 << 10;
  at_ = 0;
  return file_.Read(static_cast<std::size_t>(std::min(kChunk, file_.remaining())), chunk_) &&
         !chunk_.empty();
}

bool ByteStream::Read(std::size_t count, std::vector<std::uint8_t>& into) {
  into.clear();
  const std::size_t buffered = std::min(count, chunk_.size() - at_);
  into.insert(into.end(), chunk_.begin() + static_cast<std::ptrdiff_t>(at_),
              chunk_.begin() + static_cast<std::ptrdiff_t>(at_ + buffered));
  at_ += buffered;
  if (buffered == count) return true;
  std::vector<std::uint8_t> rest;
  if (!file_.Read(count - buffered, rest)) return false;
  into.insert(into.end(), rest.begin(), rest.end());
  return true;
}

bool ByteStream::Skip(std::uint64_t count) {
  const std::size_t buffered =
      static_cast<std::size_t>(std::min<std::uint64_t>(count, chunk_.size() - at_));
  at_ += buffered;
  return buffered == count || file_.Skip(count - buffered);
}

}  // namespace korvanth::imaging
