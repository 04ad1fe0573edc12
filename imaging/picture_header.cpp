#include "imaging/picture_header.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace korvanth::imaging {

namespace {

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }
std::int64_t RoundUp(std::int64_t a, std::int64_t b) { return CeilDiv(a, b) * b; }

// Reads exactly `size` bytes; false at the end of the file.
bool ReadExactly(std::FILE* file, void* out, std::size_t size) {
  return std::fread(out, 1, size, file) == size;
}

std::uint32_t Be16(const unsigned char* p) { return (std::uint32_t{p[0]} << 8) | p[1]; }
std::uint32_t Be32(const unsigned char* p) { return (Be16(p) << 16) | Be16(p + 2); }
std::uint32_t Le16(const unsigned char* p) { return (std::uint32_t{p[1]} << 8) | p[0]; }
std::uint32_t Le32(const unsigned char* p) { return (Le16(p + 2) << 16) | Le16(p); }

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

PictureHeader DamagedHeader(PictureType type) {
  PictureHeader header;
  header.type = type;
  header.verdict = HeaderVerdict::Damaged;
  return header;
}

PictureHeader ReadPngHeader(std::FILE* file) {
  // Signature, then the first chunk, which must be a 13-byte IHDR.
  unsigned char bytes[8 + 8 + 13];
  if (!ReadExactly(file, bytes, sizeof bytes)) return DamagedHeader(PictureType::Png);
  if (Be32(bytes + 8) != 13 || std::memcmp(bytes + 12, "IHDR", 4) != 0)
    return DamagedHeader(PictureType::Png);
  const std::int64_t width = Be32(bytes + 16);
  const std::int64_t height = Be32(bytes + 20);
  const int depth = bytes[24];
  int channels = 0;
  switch (bytes[25]) {
    case 0:
      channels = 1;
      break;
    case 2:
      channels = 3;
      break;
    case 3:
      channels = 1;
      break;
    case 4:
      channels = 2;
      break;
    case 6:
      channels = 4;
      break;
    default:
      return DamagedHeader(PictureType::Png);
  }
  if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) return DamagedHeader(PictureType::Png);
  return Judged(PictureType::Png, {width, height, PngWorkingBytes(width, depth, channels)});
}

PictureHeader ReadGifHeader(std::FILE* file) {
  unsigned char bytes[10];
  if (!ReadExactly(file, bytes, sizeof bytes)) return DamagedHeader(PictureType::Gif);
  // The logical screen is the picture; frames are placed inside it.
  const std::int64_t width = Le16(bytes + 6);
  const std::int64_t height = Le16(bytes + 8);
  return Judged(PictureType::Gif, {width, height, GifWorkingBytes(width)});
}

PictureHeader ReadBmpHeader(std::FILE* file) {
  unsigned char bytes[30];
  if (!ReadExactly(file, bytes, sizeof bytes)) return DamagedHeader(PictureType::Bmp);
  const std::uint32_t infoSize = Le32(bytes + 14);
  std::int64_t width = 0;
  std::int64_t height = 0;
  int bits = 0;
  if (infoSize == 12) {
    width = Le16(bytes + 18);
    height = Le16(bytes + 20);
    bits = static_cast<int>(Le16(bytes + 24));
  } else if (infoSize >= 16) {
    width = static_cast<std::int32_t>(Le32(bytes + 18));
    height = static_cast<std::int32_t>(Le32(bytes + 22));
    bits = static_cast<int>(Le16(bytes + 28));
    height = height < 0 ? -height : height;  // negative: rows stored top-down
  } else {
    return DamagedHeader(PictureType::Bmp);
  }
  return Judged(PictureType::Bmp, {width, height, BmpWorkingBytes(width, height, bits)});
}

bool IsStartOfFrame(int marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

PictureHeader ReadJpegHeader(std::FILE* file) {
  unsigned char soi[2];
  if (!ReadExactly(file, soi, 2)) return DamagedHeader(PictureType::Jpeg);
  bool sawFrame = false;
  bool progressive = false;
  std::int64_t width = 0;
  std::int64_t height = 0;
  JpegComponentSampling components[4];
  int componentCount = 0;
  for (;;) {
    // A marker: one or more 0xFF fill bytes, then its code. Stray bytes before it are
    // skipped, as the decoder skips them.
    int c = std::fgetc(file);
    while (c != 0xFF && c != EOF) c = std::fgetc(file);
    while (c == 0xFF) c = std::fgetc(file);
    if (c == EOF) return DamagedHeader(PictureType::Jpeg);
    const int marker = c;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (marker == 0xD8 || marker == 0xD9) return DamagedHeader(PictureType::Jpeg);
    unsigned char lengthBytes[2];
    if (!ReadExactly(file, lengthBytes, 2)) return DamagedHeader(PictureType::Jpeg);
    const long length = static_cast<long>(Be16(lengthBytes));
    if (length < 2) return DamagedHeader(PictureType::Jpeg);
    if (IsStartOfFrame(marker)) {
      unsigned char frame[6 + 3 * 255];
      if (sawFrame || length < 8 || !ReadExactly(file, frame, static_cast<std::size_t>(length - 2)))
        return DamagedHeader(PictureType::Jpeg);
      sawFrame = true;
      progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
      height = Be16(frame + 1);
      width = Be16(frame + 3);
      componentCount = frame[5];
      if (componentCount < 1 || componentCount > 4 || length != 8 + 3 * componentCount)
        return DamagedHeader(PictureType::Jpeg);
      for (int i = 0; i < componentCount; ++i) {
        const int sampling = frame[6 + 3 * i + 1];
        components[i] = {sampling >> 4, sampling & 15};
        if (components[i].horizontal < 1 || components[i].horizontal > 4 ||
            components[i].vertical < 1 || components[i].vertical > 4)
          return DamagedHeader(PictureType::Jpeg);
      }
      continue;
    }
    if (marker == 0xDA) {
      // The first scan: fewer components than the frame means more scans follow, and
      // the decoder then buffers the whole picture's coefficients as well.
      const int scanComponents = std::fgetc(file);
      if (!sawFrame || scanComponents == EOF) return DamagedHeader(PictureType::Jpeg);
      const bool buffered = progressive || scanComponents < componentCount;
      return Judged(
          PictureType::Jpeg,
          {width, height, JpegWorkingBytes(width, height, buffered, components, componentCount)});
    }
    if (std::fseek(file, length - 2, SEEK_CUR) != 0) return DamagedHeader(PictureType::Jpeg);
  }
}

PictureHeader ReadTiffHeader(std::FILE* file) {
  unsigned char head[8];
  if (!ReadExactly(file, head, 8)) return DamagedHeader(PictureType::Tiff);
  const bool little = head[0] == 'I';
  auto u16 = [little](const unsigned char* p) { return little ? Le16(p) : Be16(p); };
  auto u32 = [little](const unsigned char* p) { return little ? Le32(p) : Be32(p); };
  if (std::fseek(file, 0, SEEK_END) != 0) return DamagedHeader(PictureType::Tiff);
  const std::int64_t fileBytes = std::ftell(file);
  if (std::fseek(file, static_cast<long>(u32(head + 4)), SEEK_SET) != 0)
    return DamagedHeader(PictureType::Tiff);
  unsigned char countBytes[2];
  if (!ReadExactly(file, countBytes, 2)) return DamagedHeader(PictureType::Tiff);
  const std::uint32_t count = u16(countBytes);

  std::int64_t width = 0, height = 0, tileWidth = 0, tileHeight = 0;
  std::int64_t rowsPerStrip = 0xFFFFFFFF;
  int bits = 1, samples = 1;
  bool compressed = false;
  for (std::uint32_t i = 0; i < count; ++i) {
    unsigned char entry[12];
    if (!ReadExactly(file, entry, 12)) return DamagedHeader(PictureType::Tiff);
    const std::uint32_t tag = u16(entry);
    const std::uint32_t type = u16(entry + 2);
    // SHORT and LONG values held in the entry itself (the first one for a list of two).
    const std::int64_t value = type == 3 ? u16(entry + 8) : u32(entry + 8);
    const std::uint32_t valueCount = u32(entry + 4);
    switch (tag) {
      case 256:
        width = value;
        break;
      case 257:
        height = value;
        break;
      case 258:
        if (type == 3 && valueCount > 2) {
          // Bits per sample listed elsewhere in the file: the first one counts.
          const long here = std::ftell(file);
          unsigned char first[2];
          if (std::fseek(file, static_cast<long>(u32(entry + 8)), SEEK_SET) != 0 ||
              !ReadExactly(file, first, 2) || std::fseek(file, here, SEEK_SET) != 0)
            return DamagedHeader(PictureType::Tiff);
          bits = static_cast<int>(u16(first));
        } else {
          bits = static_cast<int>(value);
        }
        break;
      case 259:
        compressed = value != 1;
        break;
      case 277:
        samples = static_cast<int>(value);
        break;
      case 278:
        rowsPerStrip = value;
        break;
      case 322:
        tileWidth = value;
        break;
      case 323:
        tileHeight = value;
        break;
      default:
        break;
    }
  }
  if (bits < 1 || bits > 64 || samples < 1 || samples > 64) return DamagedHeader(PictureType::Tiff);
  const bool tiled = tileWidth > 0 && tileHeight > 0;
  return Judged(PictureType::Tiff,
                {width, height,
                 TiffWorkingBytes(width, bits, samples, tiled, tileWidth, tileHeight, compressed,
                                  rowsPerStrip, fileBytes)});
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
  return needs.workingBytes <= pictureBytes / 4 + kDecoderAllowance;
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
    const std::int64_t tileBytes = CeilDiv(tileWidth * bitsPerPixel, 8) * tileHeight;
    // The decoded tile, its compressed bytes (at most the file) and one output row.
    return tileBytes + std::min(tileBytes, fileBytes) + rowBytes;
  }
  // Rows are decoded one at a time; a compressed strip's bytes are read whole. An
  // uncompressed single strip is read in small pieces by the decoder.
  const std::int64_t rows = std::max<std::int64_t>(1, std::min(rowsPerStrip, kMaxPictureBytes));
  const std::int64_t stripBytes = std::min(rows * rowBytes, kMaxPictureBytes * 4);
  const std::int64_t raw = compressed ? std::min(stripBytes, fileBytes) : 0;
  return raw + 2 * rowBytes + (std::int64_t{1} << 16);
}

namespace {

PictureHeader ReadKnownHeader(std::FILE* file, PictureType type) {
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
  unsigned char signature[8] = {};
  const std::size_t got = std::fread(signature, 1, sizeof signature, file);
  PictureHeader header;
  if (std::ferror(file)) return header;
  const PictureType type = PictureTypeOfSignature(signature, got);
  if (type != PictureType::Unknown && std::fseek(file, 0, SEEK_SET) == 0)
    header = ReadKnownHeader(file, type);
  header.opened = true;
  return header;
}

namespace {

// The header of a named file, given what stat said of the name (its result, with errno
// still as stat left it) and how to open it: a regular file only.
template <typename OpenFile>
PictureHeader ReadHeaderOfNamedFile(int statResult, bool regular, OpenFile open) {
  PictureHeader unopened;
  if (statResult != 0) {
    unopened.openError = errno;
    return unopened;
  }
  if (!regular) return unopened;
  std::FILE* file = open();
  if (file == nullptr) {
    unopened.openError = errno;
    return unopened;
  }
  const PictureHeader header = ReadPictureHeader(file);
  std::fclose(file);
  return header;
}

}  // namespace

PictureHeader ReadPictureHeaderOfPath(const char* path) {
  if (path == nullptr) return PictureHeader{};
  struct stat info {};
  const int statResult = ::stat(path, &info);
  return ReadHeaderOfNamedFile(statResult, S_ISREG(info.st_mode),
                               [path] { return std::fopen(path, "rb"); });
}

PictureHeader ReadPictureHeaderOfNames(const char* path, const char16_t* wide) {
#ifdef _WIN32
  (void)path;
  if (wide == nullptr) return PictureHeader{};
  const auto* name = reinterpret_cast<const wchar_t*>(wide);
  struct _stat64 info {};
  const int statResult = ::_wstat64(name, &info);
  return ReadHeaderOfNamedFile(statResult, (info.st_mode & _S_IFMT) == _S_IFREG,
                               [name] { return ::_wfopen(name, L"rb"); });
#else
  (void)wide;
  return ReadPictureHeaderOfPath(path);
#endif
}

}  // namespace korvanth::imaging
