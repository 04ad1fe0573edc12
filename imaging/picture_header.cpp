// Reads each format's header for type, size and decode memory, and judges it against the bounds.
#include "imaging/picture_header.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "imaging/byte_reader.h"
#include "imaging/input_file.h"
#include "imaging/picture_data.h"

namespace korvanth::imaging {

namespace {

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }
std::int64_t RoundUp(std::int64_t a, std::int64_t b) { return CeilDiv(a, b) * b; }
// a * b for non-negative factors, held at `cap` when it would pass it.
std::int64_t ProductUpTo(std::int64_t a, std::int64_t b, std::int64_t cap) {
  if (a == 0 || b == 0) return 0;
  return a > cap / b ? cap : std::min(a * b, cap);
}

PictureHeader Judged(PictureType type, DecodeNeeds needs) {
  PictureHeader header;
  header.type = type;
  header.needs = needs;
  if (needs.width <= 0 || needs.height <= 0) {
    header.verdict = HeaderVerdict::Damaged;
  } else {
    header.verdict = FitsMemoryBound(needs) ? HeaderVerdict::Fits : HeaderVerdict::TooLarge;
  }
  return header;
}

PictureHeader VerdictOnly(PictureType type, HeaderVerdict verdict) {
  PictureHeader header;
  header.type = type;
  header.verdict = verdict;
  return header;
}

PictureHeader DamagedHeader(PictureType type) { return VerdictOnly(type, HeaderVerdict::Damaged); }

// The next `count` bytes of the file as a reader of their own (a failed one when the file
// holds fewer).
ByteReader NextBytes(FileReader& file, std::size_t count, std::vector<std::uint8_t>& storage) {
  if (!file.Read(count, storage)) return ByteReader::Failed();
  return ByteReader(storage);
}

// Channels of a PNG colour type and whether the bit depth is one the type allows.
int PngChannels(std::uint32_t colourType, std::uint32_t depth) {
  const bool eightOrSixteen = depth == 8 || depth == 16;
  switch (colourType) {
    case 0:
      return depth == 1 || depth == 2 || depth == 4 || eightOrSixteen ? 1 : 0;
    case 2:
      return eightOrSixteen ? 3 : 0;
    case 3:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8 ? 1 : 0;
    case 4:
      return eightOrSixteen ? 2 : 0;
    case 6:
      return eightOrSixteen ? 4 : 0;
    default:
      return 0;
  }
}

PictureHeader ReadPngHeader(FileReader& file) {
  // Signature, then the first chunk, which must be a 13-byte IHDR.
  std::vector<std::uint8_t> storage;
  ByteReader bytes = NextBytes(file, 8 + 8 + 13, storage);
  bytes.Skip(8);
  const std::uint32_t chunkLength = bytes.U32BE();
  const std::span<const std::uint8_t> chunkType = bytes.Bytes(4);
  const std::int64_t width = bytes.U32BE();
  const std::int64_t height = bytes.U32BE();
  const std::uint32_t depth = bytes.U8();
  const int channels = PngChannels(bytes.U8(), depth);
  if (!bytes.ok() || chunkLength != 13 || std::memcmp(chunkType.data(), "IHDR", 4) != 0 ||
      channels == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
    return DamagedHeader(PictureType::Png);
  return Judged(PictureType::Png,
                {width, height, PngWorkingBytes(width, static_cast<int>(depth), channels)});
}

PictureHeader ReadGifHeader(FileReader& file) {
  std::vector<std::uint8_t> storage;
  ByteReader screen = NextBytes(file, 13, storage);
  screen.Skip(6);
  const std::int64_t screenWidth = screen.U16LE();
  const std::int64_t screenHeight = screen.U16LE();
  const std::uint32_t flags = screen.U8();
  if (!screen.ok() || screenWidth == 0 || screenHeight == 0) return DamagedHeader(PictureType::Gif);
  if ((flags & 0x80) != 0 && !file.Skip(3u << ((flags & 7) + 1)))
    return DamagedHeader(PictureType::Gif);
  // The records up to the first frame: extensions are skipped sub-block by sub-block.
  for (;;) {
    const int record = file.NextByte();
    if (record == 0x21) {
      if (file.NextByte() < 0) return DamagedHeader(PictureType::Gif);
      for (int size = file.NextByte(); size != 0; size = file.NextByte())
        if (size < 0 || !file.Skip(static_cast<std::uint64_t>(size)))
          return DamagedHeader(PictureType::Gif);
      continue;
    }
    if (record != 0x2C) return DamagedHeader(PictureType::Gif);  // no frame
    ByteReader frame = NextBytes(file, 8, storage);
    const std::int64_t left = frame.U16LE();
    const std::int64_t top = frame.U16LE();
    const std::int64_t frameWidth = frame.U16LE();
    const std::int64_t frameHeight = frame.U16LE();
    if (!frame.ok()) return DamagedHeader(PictureType::Gif);
    // The picture is the logical screen, grown to hold the first frame where it reaches
    // beyond it (GDI+ decodes such a frame whole).
    const std::int64_t width = std::max(screenWidth, left + frameWidth);
    const std::int64_t height = std::max(screenHeight, top + frameHeight);
    return Judged(PictureType::Gif, {width, height, GifWorkingBytes(width)});
  }
}

// The layouts of BMP that are read: 1, 4, 8, 16, 24 and 32 bits a pixel, stored plainly,
// run-length encoded (RLE8 at 8 bits, RLE4 at 4) or with bit-field masks.
bool IsReadBmpLayout(std::uint32_t bits, std::uint32_t compression) {
  switch (compression) {
    case 0:
      return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case 1:
      return bits == 8;
    case 2:
      return bits == 4;
    case 3:
      return bits == 16 || bits == 32;
    default:
      return false;
  }
}

PictureHeader ReadBmpHeader(FileReader& file) {
  std::vector<std::uint8_t> storage;
  ByteReader head = NextBytes(file, 18, storage);
  head.Skip(14);
  const std::uint32_t infoSize = head.U32LE();
  if (!head.ok() || infoSize < 12) return DamagedHeader(PictureType::Bmp);
  // The fields judged here lie in the first 16 bytes of the information header (the
  // compression after them where the header holds it).
  ByteReader info = NextBytes(file, std::min<std::uint32_t>(infoSize, 40) - 4, storage);
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = 0;
  if (infoSize == 12) {
    width = info.U16LE();
    height = info.U16LE();
    info.Skip(2);
    bits = info.U16LE();
  } else if (infoSize >= 16) {
    width = static_cast<std::int32_t>(info.U32LE());
    height = static_cast<std::int32_t>(info.U32LE());
    info.Skip(2);
    bits = info.U16LE();
    if (infoSize >= 20) compression = info.U32LE();
    height = height < 0 ? -height : height;  // negative: rows stored top-down
  } else {
    return DamagedHeader(PictureType::Bmp);
  }
  if (!info.ok()) return DamagedHeader(PictureType::Bmp);
  if (width > 0 && height > 0 && !IsReadBmpLayout(bits, compression))
    return VerdictOnly(PictureType::Bmp, HeaderVerdict::Unsupported);
  return Judged(PictureType::Bmp,
                {width, height, BmpWorkingBytes(width, height, static_cast<int>(bits))});
}

bool IsStartOfFrame(int marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Frames the decoders read: baseline, extended and progressive, Huffman or arithmetic
// coded. Lossless and hierarchical frames are not.
bool IsReadFrameKind(int marker) {
  return marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA;
}

PictureHeader ReadJpegHeader(FileReader& file) {
  if (!file.Skip(2)) return DamagedHeader(PictureType::Jpeg);
  bool sawFrame = false;
  bool progressive = false;
  std::int64_t width = 0;
  std::int64_t height = 0;
  JpegComponentSampling components[4];
  int componentCount = 0;
  std::vector<std::uint8_t> segment;
  for (;;) {
    // A marker: one or more 0xFF fill bytes, then its code. Stray bytes before it are
    // skipped, as the decoder skips them.
    int c = file.NextByte();
    while (c != 0xFF && c >= 0) c = file.NextByte();
    while (c == 0xFF) c = file.NextByte();
    if (c < 0) return DamagedHeader(PictureType::Jpeg);
    const int marker = c;
    // FF 00 is a stuffed zero in data, not a marker: the decoder skips it and scans on.
    if (marker == 0x00) continue;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (marker == 0xD8 || marker == 0xD9) return DamagedHeader(PictureType::Jpeg);
    std::vector<std::uint8_t> lengthBytes;
    ByteReader lengthReader = NextBytes(file, 2, lengthBytes);
    const std::uint32_t length = lengthReader.U16BE();
    if (!lengthReader.ok() || length < 2) return DamagedHeader(PictureType::Jpeg);
    if (IsStartOfFrame(marker)) {
      if (sawFrame) return DamagedHeader(PictureType::Jpeg);
      ByteReader frame = NextBytes(file, length - 2, segment);
      const std::uint32_t precision = frame.U8();
      height = frame.U16BE();
      width = frame.U16BE();
      componentCount = static_cast<int>(frame.U8());
      if (!frame.ok() || componentCount < 1 || frame.remaining() != 3u * componentCount)
        return DamagedHeader(PictureType::Jpeg);
      if (!IsReadFrameKind(marker) || precision != 8 || componentCount > 4)
        return VerdictOnly(PictureType::Jpeg, HeaderVerdict::Unsupported);
      sawFrame = true;
      progressive = marker == 0xC2 || marker == 0xCA;
      for (int i = 0; i < componentCount; ++i) {
        frame.Skip(1);
        const std::uint32_t sampling = frame.U8();
        frame.Skip(1);
        components[i] = {static_cast<int>(sampling >> 4), static_cast<int>(sampling & 15)};
        if (components[i].horizontal < 1 || components[i].horizontal > 4 ||
            components[i].vertical < 1 || components[i].vertical > 4)
          return DamagedHeader(PictureType::Jpeg);
      }
      continue;
    }
    if (marker == 0xDA) {
      // The first scan: fewer components than the frame means more scans follow, and
      // the decoder then buffers the whole picture's coefficients as well.
      const int scanComponents = file.NextByte();
      if (!sawFrame || scanComponents < 0) return DamagedHeader(PictureType::Jpeg);
      const bool buffered = progressive || scanComponents < componentCount;
      return Judged(
          PictureType::Jpeg,
          {width, height, JpegWorkingBytes(width, height, buffered, components, componentCount)});
    }
    if (!file.Skip(length - 2)) return DamagedHeader(PictureType::Jpeg);
  }
}

// The fields of the first TIFF directory that the judgement needs.
struct TiffFields {
  std::int64_t width = 0, height = 0, tileWidth = 0, tileHeight = 0;
  std::int64_t rowsPerStrip = 0xFFFFFFFF;
  std::uint32_t bits = 1, samples = 1, sampleFormat = 1;
  bool compressed = false;
};

// Samples the decoders read: integers of 1, 2, 4, 8 or 16 bits (formats 1 unsigned, 2
// signed, 4 unspecified); not floating-point (3) or complex (5, 6) ones.
bool IsReadTiffSampleKind(const TiffFields& fields) {
  const std::uint32_t b = fields.bits;
  const std::uint32_t f = fields.sampleFormat;
  return (b == 1 || b == 2 || b == 4 || b == 8 || b == 16) && (f == 1 || f == 2 || f == 4);
}

PictureHeader ReadTiffHeader(FileReader& file) {
  std::vector<std::uint8_t> storage;
  ByteReader head = NextBytes(file, 8, storage);
  const bool little = head.U8() == 'I';
  head.Skip(3);
  const std::uint32_t directory = head.U32(little);
  std::vector<std::uint8_t> countBytes;
  ByteReader countReader =
      file.Seek(directory) ? NextBytes(file, 2, countBytes) : ByteReader::Failed();
  const std::uint32_t count = countReader.U16(little);
  if (!head.ok() || !countReader.ok()) return DamagedHeader(PictureType::Tiff);
  // At most 65535 entries of 12 bytes, and never more than the file holds.
  std::vector<std::uint8_t> entryBytes;
  ByteReader entries = NextBytes(file, std::size_t{count} * 12, entryBytes);
  if (!entries.ok()) return DamagedHeader(PictureType::Tiff);

  TiffFields fields;
  std::vector<bool> seen(std::size_t{1} << 16);
  for (std::uint32_t i = 0; i < count; ++i) {
    ByteReader entry = entries.Sub(12);
    const std::uint32_t tag = entry.U16(little);
    const std::uint32_t type = entry.U16(little);
    const std::uint32_t valueCount = entry.U32(little);
    // As libtiff reads a directory: a tag's first entry counts, later ones are ignored.
    if (seen[tag]) continue;
    seen[tag] = true;
    // A value held in the entry itself, as the type says (the first one of a short
    // list); a longer list lies elsewhere, at the offset the field holds.
    ByteReader valueField = entry.Sub(4);
    const std::uint32_t offset = valueField.U32(little);
    valueField.Seek(0);
    std::int64_t value = 0;
    if (type == 1 || type == 6) {
      value = valueField.U8();
    } else if (type == 3 || type == 8) {
      value = valueField.U16(little);
    } else if (type == 4 || type == 9) {
      value = offset;
    } else if (tag == 256 || tag == 257 || tag == 258 || tag == 277 || tag == 322 || tag == 323) {
      return DamagedHeader(PictureType::Tiff);  // a size of no integer type: libtiff fails too
    }
    switch (tag) {
      case 256:
        fields.width = value;
        break;
      case 257:
        fields.height = value;
        break;
      case 258:
        if (type == 3 && valueCount > 2) {
          // Bits per sample listed elsewhere in the file: the first one counts.
          std::vector<std::uint8_t> first;
          ByteReader listed = file.Seek(offset) ? NextBytes(file, 2, first) : ByteReader::Failed();
          fields.bits = listed.U16(little);
          if (!listed.ok()) return DamagedHeader(PictureType::Tiff);
        } else {
          fields.bits = static_cast<std::uint32_t>(value);
        }
        break;
      case 259:
        fields.compressed = value != 1;
        break;
      case 277:
        fields.samples = static_cast<std::uint32_t>(value);
        break;
      case 278:
        fields.rowsPerStrip = value;
        break;
      case 322:
        fields.tileWidth = value;
        break;
      case 323:
        fields.tileHeight = value;
        break;
      case 339:
        fields.sampleFormat = static_cast<std::uint32_t>(value);
        break;
      default:
        break;
    }
  }
  if (fields.samples < 1 || fields.samples > 64 || fields.bits < 1 || fields.bits > 64)
    return DamagedHeader(PictureType::Tiff);
  if (fields.width > 0 && fields.height > 0 && !IsReadTiffSampleKind(fields))
    return VerdictOnly(PictureType::Tiff, HeaderVerdict::Unsupported);
  const bool tiled = fields.tileWidth > 0 && fields.tileHeight > 0;
  return Judged(PictureType::Tiff,
                {fields.width, fields.height,
                 TiffWorkingBytes(fields.width, static_cast<int>(fields.bits),
                                  static_cast<int>(fields.samples), tiled, fields.tileWidth,
                                  fields.tileHeight, fields.compressed, fields.rowsPerStrip,
                                  static_cast<std::int64_t>(file.size()))});
}

}  // namespace

PictureType PictureTypeOfSignature(const unsigned char* b, std::size_t size) {
  if (size >= 8 && std::memcmp(b, "\x89PNG\r\n\x1a\n", 8) == 0) return PictureType::Png;
  if (size >= 6 && (std::memcmp(b, "GIF87a", 6) == 0 || std::memcmp(b, "GIF89a", 6) == 0))
    return PictureType::Gif;
  if (size >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return PictureType::Jpeg;
  if (size >= 4 && (std::memcmp(b, "II*\0", 4) == 0 || std::memcmp(b, "MM\0*", 4) == 0))
    return PictureType::Tiff;
  if (size >= 2 && b[0] == 'B' && b[1] == 'M') return PictureType::Bmp;
  return PictureType::Unknown;
}

bool FitsMemoryBound(const DecodeNeeds& needs) {
  if (needs.width <= 0 || needs.height <= 0 || needs.workingBytes < 0) return false;
  if (needs.width > kMaxPictureBytes || needs.height > kMaxPictureBytes) return false;
  if (needs.width * needs.height > kMaxPictureBytes / 4) return false;
  const std::int64_t pictureBytes = needs.width * needs.height * 4;
  return needs.workingBytes <= pictureBytes / 2 * 3 + kDecoderAllowance &&
         needs.workingBytes <= kMaxDecodeBytes - pictureBytes;
}

std::int64_t JpegWorkingBytes(std::int64_t width, std::int64_t height, bool wholeImageBuffered,
                              const JpegComponentSampling* components, int componentCount) {
  int maxH = 1, maxV = 1;
  for (int i = 0; i < componentCount; ++i) {
    maxH = std::max(maxH, components[i].horizontal);
    maxV = std::max(maxV, components[i].vertical);
  }
  std::int64_t bytes = 0;
  for (int i = 0; i < componentCount; ++i) {
    const JpegComponentSampling& c = components[i];
    const std::int64_t blocksWide = RoundUp(CeilDiv(width * c.horizontal, maxH * 8), c.horizontal);
    const std::int64_t blocksHigh = RoundUp(CeilDiv(height * c.vertical, maxV * 8), c.vertical);
    // 64 coefficients of 2 bytes a block: the whole picture, or one MCU row.
    bytes += blocksWide * (wholeImageBuffered ? blocksHigh : c.vertical) * 128;
    // Sample rows of the MCU band with their context rows, for upsampling.
    bytes += blocksWide * 8 * c.vertical * 8 * 3;
  }
  // Colour-converted output rows.
  return bytes + width * 4 * maxV * 8 * 2;
}

std::int64_t PngWorkingBytes(std::int64_t width, int bitDepth, int channels) {
  const std::int64_t rowBytes = CeilDiv(width * std::max(bitDepth, 8) * std::max(channels, 4), 8);
  return 3 * (rowBytes + 1);
}

std::int64_t GifWorkingBytes(std::int64_t width) { return width; }

std::int64_t BmpWorkingBytes(std::int64_t width, std::int64_t height, int bitsPerPixel) {
  if (width <= 0 || height <= 0 || width > kMaxPictureBytes || height > kMaxPictureBytes) return 0;
  if (bitsPerPixel <= 8) return width * height;
  if (bitsPerPixel == 16) return width * height * 2;
  return 0;
}

std::int64_t TiffWorkingBytes(std::int64_t width, int bitsPerSample, int samplesPerPixel,
                              bool tiled, std::int64_t tileWidth, std::int64_t tileHeight,
                              bool compressed, std::int64_t rowsPerStrip, std::int64_t fileBytes) {
  const std::int64_t bitsPerPixel = std::int64_t{bitsPerSample} * samplesPerPixel;
  if (width <= 0 || width > kMaxPictureBytes) return 0;
  const std::int64_t rowBytes = CeilDiv(width * bitsPerPixel, 8);
  if (tiled) {
    if (tileWidth > kMaxPictureBytes || tileHeight > kMaxPictureBytes) return kMaxPictureBytes * 4;
    const std::int64_t tileBytes =
        ProductUpTo(CeilDiv(tileWidth * bitsPerPixel, 8), tileHeight, kMaxPictureBytes * 4);
    // The decoded tile, its compressed bytes (at most the file) and one output row.
    return tileBytes + std::min(tileBytes, fileBytes) + rowBytes;
  }
  // Rows are decoded one at a time; a compressed strip's bytes are read whole. An
  // uncompressed single strip is read in small pieces by the decoder.
  const std::int64_t rows = std::max<std::int64_t>(1, std::min(rowsPerStrip, kMaxPictureBytes));
  const std::int64_t stripBytes = ProductUpTo(rows, rowBytes, kMaxPictureBytes * 4);
  const std::int64_t raw = compressed ? std::min(stripBytes, fileBytes) : 0;
  return raw + 2 * rowBytes + (std::int64_t{1} << 16);
}

namespace {

PictureHeader ReadKnownHeader(FileReader& file, PictureType type) {
  switch (type) {
    case PictureType::Png:
      return ReadPngHeader(file);
    case PictureType::Gif:
      return ReadGifHeader(file);
    case PictureType::Bmp:
      return ReadBmpHeader(file);
    case PictureType::Jpeg:
      return ReadJpegHeader(file);
    case PictureType::Tiff:
      return ReadTiffHeader(file);
    case PictureType::Unknown:
      break;
  }
  return PictureHeader{};
}

}  // namespace

PictureHeader ReadPictureHeader(std::FILE* file) {
  PictureHeader header;
  FileReader reader(file);
  std::vector<std::uint8_t> signature;
  if (!reader.Seek(0) || !reader.Read(std::min<std::uint64_t>(reader.size(), 8), signature))
    return header;
  const PictureType type = PictureTypeOfSignature(signature.data(), signature.size());
  if (type != PictureType::Unknown && reader.Seek(0)) header = ReadKnownHeader(reader, type);
  header.opened = true;
  return header;
}

namespace {

// The header of an opened input (or why it did not open); with `wholeFile`, a header that
// fits has its data read through too.
PictureHeader ReadHeaderOfOpened(const OpenedInput& input, bool wholeFile) {
  if (input.file == nullptr) {
    PictureHeader unopened;
    unopened.openError = input.error;
    unopened.openProblem = input.problem;
    return unopened;
  }
  PictureHeader header = ReadPictureHeader(input.file);
  if (wholeFile && header.verdict == HeaderVerdict::Fits) {
    const DataVerdict data = CheckPictureData(input.file, header.type);
    if (data == DataVerdict::Damaged) header.verdict = HeaderVerdict::Damaged;
    if (data == DataVerdict::TooLarge) header.verdict = HeaderVerdict::TooLarge;
  }
  std::fclose(input.file);
  return header;
}

PictureHeader ReadHeaderOfPath(const char* path, bool wholeFile) {
  if (path == nullptr) return PictureHeader{};
  return ReadHeaderOfOpened(OpenInputFile(path), wholeFile);
}

PictureHeader ReadHeaderOfNames(const char* path, const char16_t* wide, bool wholeFile) {
#ifdef _WIN32
  (void)path;
  if (wide == nullptr) return PictureHeader{};
  return ReadHeaderOfOpened(OpenInputFile(reinterpret_cast<const wchar_t*>(wide)), wholeFile);
#else
  (void)wide;
  return ReadHeaderOfPath(path, wholeFile);
#endif
}

}  // namespace

PictureHeader ReadPictureHeaderOfPath(const char* path) { return ReadHeaderOfPath(path, false); }

PictureHeader ReadPictureHeaderOfNames(const char* path, const char16_t* wide) {
  return ReadHeaderOfNames(path, wide, false);
}

PictureHeader JudgePictureOfNames(const char* path, const char16_t* wide) {
  return ReadHeaderOfNames(path, wide, true);
}

}  // namespace korvanth::imaging
