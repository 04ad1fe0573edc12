// Checks a picture's compressed data is whole before decoding: BMP runs, PNG CRCs, GIF, JPEG.
#include "imaging/picture_data.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "imaging/bmp_runs.h"

namespace korvanth::imaging {

namespace {

// Runs walked for where they end only.
struct NoPixels {
  void Row(std::int64_t) {}
  void Pixel(std::int64_t, std::uint32_t) {}
};

}  // namespace

bool BmpRunsAreWhole(FileReader& file) {
  std::vector<std::uint8_t> storage;
  if (!file.Seek(0) || !file.Read(18, storage)) return false;
  ByteReader head(storage);
  head.Skip(10);
  const std::uint32_t pixelsAt = head.U32LE();
  const std::uint32_t infoSize = head.U32LE();
  if (infoSize < 20) return true;  // no compression field: stored plainly
  if (!file.Read(16, storage)) return false;
  ByteReader info(storage);
  info.Skip(4);
  const std::int64_t height = static_cast<std::int32_t>(info.U32LE());
  info.Skip(4);
  const std::uint32_t compression = info.U32LE();
  if (compression != 1 && compression != 2) return true;
  if (!file.Seek(pixelsAt)) return false;
  ByteStream bytes(file);
  NoPixels none;
  return WalkBmpRuns(bytes, compression == 2, height < 0 ? -height : height, none);
}

bool PngChunksAreWhole(FileReader& file) {
  if (!file.Seek(8)) return false;
  std::vector<std::uint8_t> storage;
  for (;;) {
    if (!file.Read(8, storage)) return false;
    ByteReader head(storage);
    const std::uint32_t length = head.U32BE();
    const std::span<const std::uint8_t> kind = head.Bytes(4);
    if (length > 0x7FFFFFFF) return false;
    const bool end = std::memcmp(kind.data(), "IEND", 4) == 0;
    uLong crc = crc32(0, kind.data(), 4);
    // The data in pieces: a chunk may be as long as the file.
    for (std::uint32_t left = length; left > 0;) {
      const std::uint32_t piece = std::min<std::uint32_t>(left, 64 << 10);
      if (!file.Read(piece, storage)) return false;
      crc = crc32(crc, storage.data(), piece);
      left -= piece;
    }
    if (!file.Read(4, storage)) return false;
    if (ByteReader(storage).U32BE() != (crc & 0xFFFFFFFFu)) return false;
    if (end) return true;
  }
}

DataVerdict CheckPictureData(std::FILE* file, PictureType type) {
  FileReader reader(file);
  if (!reader.ok()) return DataVerdict::Damaged;
  try {
    switch (type) {
      case PictureType::Bmp:
        return BmpRunsAreWhole(reader) ? DataVerdict::Whole : DataVerdict::Damaged;
      case PictureType::Gif:
        return GifDataIsWhole(reader) ? DataVerdict::Whole : DataVerdict::Damaged;
      case PictureType::Png:
        return PngChunksAreWhole(reader) ? DataVerdict::Whole : DataVerdict::Damaged;
      case PictureType::Jpeg:
        return JpegScansAreWhole(reader);
      case PictureType::Tiff:
      case PictureType::Unknown:
        break;
    }
  } catch (const std::bad_alloc&) {
    return DataVerdict::TooLarge;
  }
  return DataVerdict::Whole;
}

}  // namespace korvanth::imaging
