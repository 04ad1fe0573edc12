// Bounded reading of untrusted bytes. Every field the project parses out of a file goes
// through one of these two readers: ByteReader over bytes already in memory, FileReader
// over an open file. Neither can read or index past the bytes that are there. A read
// that does not fit leaves the reader failed: it yields zeros from then on and ok() stays
// false, so a parser may read a run of fields and check once before it acts on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

namespace korvanth::imaging {

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  // A reader that has already failed: what a parser gets for bytes it could not have.
  static ByteReader Failed() {
    ByteReader reader;
    reader.ok_ = false;
    return reader;
  }

  bool ok() const { return ok_; }
  std::size_t size() const { return bytes_.size(); }
  std::size_t position() const { return position_; }
  std::size_t remaining() const { return ok_ ? bytes_.size() - position_ : 0; }

  std::uint32_t U8();
  std::uint32_t U16BE();
  std::uint32_t U32BE();
  std::uint32_t U16LE();
  std::uint32_t U32LE();
  std::uint32_t U16(bool littleEndian) { return littleEndian ? U16LE() : U16BE(); }
  std::uint32_t U32(bool littleEndian) { return littleEndian ? U32LE() : U32BE(); }

  // The next `count` bytes (empty, and the reader failed, when fewer remain).
  std::span<const std::uint8_t> Bytes(std::size_t count);
  // A reader over the next `count` bytes, which this reader steps past.
  ByteReader Sub(std::size_t count) { return ByteReader(Bytes(count)); }
  bool Skip(std::size_t count) { return ok_ && Bytes(count).size() == count; }
  // Moves to `offset` from the start; offsets beyond the end fail the reader.
  bool Seek(std::uint64_t offset);

 private:
  bool Take(std::size_t count);
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
  bool ok_ = true;
};

// An open file read from its current position, knowing its size: a length taken from
// the file is checked against the bytes the file holds before anything is allocated or
// copied. The file is not closed here.
class FileReader {
 public:
  explicit FileReader(std::FILE* file);

  bool ok() const { return ok_; }
  std::uint64_t size() const { return size_; }
  std::uint64_t position() const { return position_; }
  std::uint64_t remaining() const { return ok_ ? size_ - position_ : 0; }

  // Reads the next `count` bytes into `into`, which holds exactly them afterwards; false
  // (and the reader failed) when fewer remain or the file cannot be read.
  bool Read(std::size_t count, std::vector<std::uint8_t>& into);
  // The next byte, or -1 at the end (which does not fail the reader).
  int NextByte();
  bool Skip(std::uint64_t count);
  bool Seek(std::uint64_t offset);

 private:
  bool Fail() { return ok_ = false; }
  std::FILE* file_;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
  bool ok_ = true;
};

// A FileReader's bytes from its position on, taken from the file a chunk at a time: for
// walking a whole picture's compressed data byte by byte without a call into the C
// library for each.
class ByteStream {
 public:
  explicit ByteStream(FileReader& file) : file_(file) {}

  // The next byte, or -1 at the end of the file (or when it cannot be read).
  int Next() {
    if (at_ == chunk_.size() && !Refill()) return -1;
    return chunk_[at_++];
  }
  // The next `count` bytes into `into`, which holds exactly them afterwards; false when
  // fewer remain.
  bool Read(std::size_t count, std::vector<std::uint8_t>& into);
  bool Skip(std::uint64_t count);

 private:
  bool Refill();
  FileReader& file_;
  std::vector<std::uint8_t> chunk_;
  std::size_t at_ = 0;
};

}  // namespace korvanth::imaging
