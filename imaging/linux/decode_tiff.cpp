// TIFF through libtiff, keeping the stored values: samples go straight from strips (row
// by row) or tiles into the picture's pixels, whatever the compression or planar layout.
// - Unassociated alpha arrives as stored.
// - Associated (premultiplied) alpha is divided out, rounded to nearest:
//   c = min(255, (c * 255 + a / 2) / a), and c = 0 where a = 0.
// - 16-bit samples become 8-bit by v / 257 rounded to nearest, (v * 255 + 32895) >> 16:
//   exact for every 8-bit value stored as v * 257; a 16-bit colour map likewise.
// - Grey of 1, 2 or 4 bits spreads over 0..255; a white-is-zero picture is inverted.
// - An extra sample of unspecified meaning is not taken as alpha.
// Other colour kinds (YCbCr, CMYK, Lab, ...) go through libtiff's RGBA reader.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/picture_header.h"
#include "imaging/linux/picture_decoders.h"
#include "imaging/linux/tiff_library.h"

namespace korvanth::imaging {

namespace {

struct TiffHandle {
  const TiffLibrary& lib;
  TIFF* tiff = nullptr;
  ~TiffHandle() {
    if (tiff != nullptr) lib.Close(tiff);
  }
};

// Where each sample of a pixel goes in the 32-bit word's bytes (B, G, R, A), -1 when
// it is not kept. Grey and palette pictures park their value in byte 0 until the end.
struct SampleLayout {
  int bits = 8;
  int target[64];
  bool scale[64];  // spread or reduce to 8 bits (a palette index is kept as it is)
};

unsigned SampleAt(const std::uint8_t* data, int bits, std::int64_t index) {
  if (bits == 8) return data[index];
  if (bits == 16) {
    std::uint16_t value;
    std::memcpy(&value, data + index * 2, 2);
    return value;
  }
  const std::int64_t bit = index * bits;
  return (data[bit >> 3] >> (8 - bits - (bit & 7))) & ((1u << bits) - 1);
}

unsigned ToEightBits(unsigned value, int bits) {
  if (bits == 8) return value;
  if (bits == 16) return (value * 255 + 32895) >> 16;
  return value * 255 / ((1u << bits) - 1);
}

// Stores `count` pixels of a run that holds `perPixel` samples a pixel, the first
// being sample `firstSample` of the picture's layout.
void StoreRun(const std::uint8_t* run, const SampleLayout& layout, int perPixel, int firstSample,
              std::int64_t count, std::uint8_t* pixels) {
  for (int k = 0; k < perPixel; ++k) {
    const int target = layout.target[firstSample + k];
    if (target < 0) continue;
    const bool scale = layout.scale[firstSample + k];
    for (std::int64_t x = 0; x < count; ++x) {
      const unsigned value = SampleAt(run, layout.bits, x * perPixel + k);
      pixels[x * 4 + target] =
          static_cast<std::uint8_t>(scale ? ToEightBits(value, layout.bits) : value);
    }
  }
}

enum class ColourKind { Grey, WhiteIsZero, Palette, Rgb };

struct Finish {
  ColourKind kind = ColourKind::Rgb;
  bool associatedAlpha = false;
  std::uint32_t palette[256] = {};
};

void FinishPixels(PixelImage& image, const Finish& finish) {
  for (std::int64_t y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(image.row(y));
    for (std::int64_t x = 0; x < image.width(); ++x) {
      std::uint32_t p = row[x];
      const unsigned v = p & 0xFF;
      switch (finish.kind) {
        case ColourKind::Grey:
          p = (p & 0xFF000000u) | (v << 16) | (v << 8) | v;
          break;
        case ColourKind::WhiteIsZero: {
          const unsigned w = 255 - v;
          p = (p & 0xFF000000u) | (w << 16) | (w << 8) | w;
          break;
        }
        case ColourKind::Palette:
          p = (p & 0xFF000000u) | (finish.palette[v] & 0x00FFFFFFu);
          break;
        case ColourKind::Rgb:
          break;
      }
      if (finish.associatedAlpha) {
        const unsigned a = p >> 24;
        std::uint32_t q = p & 0xFF000000u;
        if (a != 0) {
          for (int shift = 0; shift < 24; shift += 8) {
            const unsigned c = (p >> shift) & 0xFF;
            q |= std::min(255u, (c * 255 + a / 2) / a) << shift;
          }
        }
        p = q;
      }
      row[x] = p;
    }
  }
}

bool ReadPalette(const TiffLibrary& lib, TIFF* tiff, int bits, std::uint32_t (&palette)[256]) {
  std::uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
  if (bits > 8 || !lib.GetField(tiff, TIFFTAG_COLORMAP, &r, &g, &b)) return false;
  const int entries = 1 << bits;
  // Some writers store 8-bit values in the 16-bit map.
  bool eightBit = true;
  for (int i = 0; i < entries; ++i) eightBit = eightBit && r[i] < 256 && g[i] < 256 && b[i] < 256;
  auto channel = [eightBit](std::uint16_t v) { return eightBit ? v : ToEightBits(v, 16); };
  for (int i = 0; i < entries; ++i)
    palette[i] = (channel(r[i]) << 16) | (channel(g[i]) << 8) | channel(b[i]);
  return true;
}

// Picture rows [band.first, band.end()) into `image`: only the strips holding them are read.
bool ReadStrips(const TiffLibrary& lib, TIFF* tiff, const SampleLayout& layout, int samples,
                bool separate, const RowBand& band, PixelImage& image) {
  std::vector<std::uint8_t> row(static_cast<std::size_t>(lib.ScanlineSize64(tiff)));
  // Most codecs cannot start inside a strip: reading starts at the band's first strip.
  std::uint32_t rowsPerStrip = 0;
  lib.GetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
  const std::int64_t start =
      rowsPerStrip == 0 ? 0 : band.first / rowsPerStrip * std::int64_t{rowsPerStrip};
  const int planes = separate ? samples : 1;
  for (int plane = 0; plane < planes; ++plane) {
    if (separate && layout.target[plane] < 0) continue;
    for (std::int64_t y = start; y < band.end(); ++y) {
      // A damaged strip can decode in part and still succeed: the rest of the row is zero,
      // never the last row read (which differs between a band and the whole).
      std::fill(row.begin(), row.end(), std::uint8_t{0});
      if (lib.ReadScanline(tiff, row.data(), static_cast<std::uint32_t>(y),
                           static_cast<std::uint16_t>(plane)) < 0)
        return false;
      if (y < band.first) continue;
      StoreRun(row.data(), layout, separate ? 1 : samples, plane, image.width(),
               image.row(y - band.first));
    }
  }
  return true;
}

// The same from the tiles that meet the band.
bool ReadTiles(const TiffLibrary& lib, TIFF* tiff, const SampleLayout& layout, int samples,
               bool separate, const RowBand& band, PixelImage& image) {
  std::uint32_t tileWidth = 0, tileHeight = 0;
  lib.GetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth);
  lib.GetField(tiff, TIFFTAG_TILELENGTH, &tileHeight);
  const tmsize_t tileBytes = lib.TileSize(tiff);
  const tmsize_t rowBytes = lib.TileRowSize(tiff);
  if (tileWidth == 0 || tileHeight == 0 || tileBytes <= 0 || rowBytes <= 0) return false;
  std::vector<std::uint8_t> tile(static_cast<std::size_t>(tileBytes));
  const int planes = separate ? samples : 1;
  for (int plane = 0; plane < planes; ++plane) {
    if (separate && layout.target[plane] < 0) continue;
    const auto firstTile = static_cast<std::uint32_t>(band.first / tileHeight);
    for (std::uint32_t top = firstTile * tileHeight; top < band.end(); top += tileHeight) {
      for (std::uint32_t left = 0; left < static_cast<std::uint32_t>(image.width());
           left += tileWidth) {
        // A damaged tile can decode in part and still succeed: what it leaves is zero,
        // never the last tile's samples (which differ between a band and the whole).
        std::fill(tile.begin(), tile.end(), std::uint8_t{0});
        if (lib.ReadTile(tiff, tile.data(), left, top, 0, static_cast<std::uint16_t>(plane)) < 0)
          return false;
        const std::int64_t from = std::max<std::int64_t>(top, band.first);
        const std::int64_t to = std::min<std::int64_t>(std::int64_t{top} + tileHeight, band.end());
        const std::int64_t count = std::min<std::int64_t>(tileWidth, image.width() - left);
        for (std::int64_t y = from; y < to; ++y)
          StoreRun(
              tile.data() + static_cast<std::size_t>(y - top) * static_cast<std::size_t>(rowBytes),
              layout, separate ? 1 : samples, plane, count,
              image.row(y - band.first) + std::size_t{left} * 4);
      }
    }
  }
  return true;
}

// libtiff's RGBA reader for the colour kinds read without exact samples; its words hold
// R in the low byte and premultiplied alpha.
bool ReadThroughRgba(const TiffLibrary& lib, TIFF* tiff, PixelImage& image, bool alpha) {
  char message[1024];
  if (!lib.RGBAImageOK(tiff, message)) return false;
  auto* words = reinterpret_cast<std::uint32_t*>(image.bits());
  if (!lib.ReadRGBAImageOriented(tiff, static_cast<std::uint32_t>(image.width()),
                                 static_cast<std::uint32_t>(image.height()), words,
                                 ORIENTATION_TOPLEFT, 0))
    return false;
  const std::int64_t count = image.width() * image.height();
  for (std::int64_t i = 0; i < count; ++i) {
    const std::uint32_t w = words[i];
    words[i] = (alpha ? (w & 0xFF000000u) : 0xFF000000u) | ((w & 0xFF) << 16) | (w & 0xFF00u) |
               ((w >> 16) & 0xFF);
  }
  if (alpha) {
    Finish finish;
    finish.associatedAlpha = true;
    FinishPixels(image, finish);
  }
  return true;
}

}  // namespace

Gdiplus::GpStatus DecodeTiff(std::FILE* file, DecodedPicture& out, const RowBand& asked) {
  const TiffLibrary* loaded = LoadedTiffLibrary();
  if (loaded == nullptr) return Gdiplus::NotImplemented;
  const TiffLibrary& lib = *loaded;
  if (std::fseek(file, 0, SEEK_END) != 0) return Gdiplus::GenericError;
  const std::int64_t fileBytes = std::ftell(file);
  std::rewind(file);
  // libtiff reads through its own descriptor from the start (the stream's buffered
  // position says nothing about the descriptor's).
  const int descriptor = ::dup(::fileno(file));
  if (descriptor < 0) return Gdiplus::Win32Error;
  if (::lseek(descriptor, 0, SEEK_SET) != 0) {
    ::close(descriptor);
    return Gdiplus::Win32Error;
  }
  TiffHandle handle{lib};
  // libtiff's own allocation limit stops any one buffer (strip, tile, directory array)
  // beyond what a decoder may ever hold, before our estimate below is even made.
  TIFFOpenOptions* options = lib.OpenOptionsAlloc();
  if (options == nullptr) {
    ::close(descriptor);
    return Gdiplus::OutOfMemory;
  }
  lib.OpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(kMaxDecodeBytes / 2));
  // "m": no memory mapping, so the file's pages never count as the decoder's memory.
  handle.tiff = lib.FdOpenExt(descriptor, "picture", "rm", options);
  lib.OpenOptionsFree(options);
  if (handle.tiff == nullptr) {
    ::close(descriptor);
    return Gdiplus::GenericError;
  }
  TIFF* tiff = handle.tiff;

  std::uint32_t width = 0, height = 0, rowsPerStrip = 0;
  std::uint16_t bits = 1, samples = 1, photometric = 0, planar = PLANARCONFIG_CONTIG;
  std::uint16_t compression = COMPRESSION_NONE, sampleFormat = SAMPLEFORMAT_UINT;
  std::uint16_t extraCount = 0;
  std::uint16_t* extraTypes = nullptr;
  lib.GetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  lib.GetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  lib.GetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  lib.GetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  lib.GetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  lib.GetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
  lib.GetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
  lib.GetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
  lib.GetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);
  if (!lib.GetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric)) return Gdiplus::GenericError;
  if (width == 0 || height == 0 || samples == 0 || samples > 64) return Gdiplus::GenericError;

  const bool tiled = lib.IsTiled(tiff) != 0;
  std::uint32_t tileWidth = 0, tileHeight = 0;
  if (tiled) {
    lib.GetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth);
    lib.GetField(tiff, TIFFTAG_TILELENGTH, &tileHeight);
  }
  const bool separate = planar == PLANARCONFIG_SEPARATE;
  std::int64_t working = TiffWorkingBytes(width, bits, samples, tiled, tileWidth, tileHeight,
                                          compression != COMPRESSION_NONE, rowsPerStrip, fileBytes);

  int colourSamples = 0;
  Finish finish;
  switch (photometric) {
    case PHOTOMETRIC_MINISBLACK:
      colourSamples = 1;
      finish.kind = ColourKind::Grey;
      break;
    case PHOTOMETRIC_MINISWHITE:
      colourSamples = 1;
      finish.kind = ColourKind::WhiteIsZero;
      break;
    case PHOTOMETRIC_PALETTE:
      colourSamples = 1;
      finish.kind = ColourKind::Palette;
      break;
    case PHOTOMETRIC_RGB:
      colourSamples = 3;
      finish.kind = ColourKind::Rgb;
      break;
    default:
      break;
  }
  const bool exactKind =
      colourSamples > 0 && samples >= colourSamples && sampleFormat == SAMPLEFORMAT_UINT &&
      (bits == 8 || bits == 16 || ((bits == 1 || bits == 2 || bits == 4) && colourSamples == 1)) &&
      !(finish.kind == ColourKind::Palette && bits == 16);
  const std::uint16_t firstExtra =
      extraCount > 0 && extraTypes != nullptr ? extraTypes[0] : EXTRASAMPLE_UNSPECIFIED;
  const bool hasAlpha =
      samples > colourSamples && colourSamples > 0 &&
      (firstExtra == EXTRASAMPLE_ASSOCALPHA || firstExtra == EXTRASAMPLE_UNASSALPHA);
  // The RGBA reader decodes a whole strip or tile at a time.
  if (!exactKind)
    working += tiled ? 0
                     : static_cast<std::int64_t>(std::min<std::uint32_t>(rowsPerStrip, height)) *
                           std::max<std::int64_t>(lib.ScanlineSize64(tiff), 0);
  if (!FitsMemoryBound({width, height, working})) return Gdiplus::ValueOverflow;

  bool alpha = hasAlpha;
  if (!exactKind) {
    char message[1024];
    alpha = extraCount > 0;
    if (!lib.RGBAImageOK(tiff, message)) return Gdiplus::GenericError;
  }
  // Pictures read by samples keep the band; libtiff's RGBA reader gives the whole picture.
  const RowBand band = exactKind ? asked.ClampedTo(height) : RowBand{0, height};
  out.pixels = AllocatePicture(width, band.count, alpha);
  if (out.pixels.isNull()) return Gdiplus::OutOfMemory;
  if (band.count < height) {
    out.firstRow = band.first;
    out.pictureHeight = height;
  }

  bool read = false;
  if (exactKind) {
    SampleLayout layout;
    layout.bits = bits;
    std::fill(std::begin(layout.target), std::end(layout.target), -1);
    std::fill(std::begin(layout.scale), std::end(layout.scale), true);
    if (colourSamples == 3) {
      layout.target[0] = 2;
      layout.target[1] = 1;
      layout.target[2] = 0;
    } else {
      layout.target[0] = 0;
      layout.scale[0] = finish.kind != ColourKind::Palette;
    }
    if (hasAlpha) layout.target[colourSamples] = 3;
    if (finish.kind == ColourKind::Palette && !ReadPalette(lib, tiff, bits, finish.palette))
      return Gdiplus::GenericError;
    finish.associatedAlpha = hasAlpha && firstExtra == EXTRASAMPLE_ASSOCALPHA;
    FillPixels(out.pixels, 0xFF000000u);
    read = tiled ? ReadTiles(lib, tiff, layout, samples, separate, band, out.pixels)
                 : ReadStrips(lib, tiff, layout, samples, separate, band, out.pixels);
    if (read) FinishPixels(out.pixels, finish);
  } else {
    read = ReadThroughRgba(lib, tiff, out.pixels, alpha);
  }
  if (!read) return Gdiplus::GenericError;

  float xResolution = 0, yResolution = 0;
  std::uint16_t unit = RESUNIT_INCH;
  lib.GetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
  const double unitsPerInch = unit == RESUNIT_INCH ? 1 : unit == RESUNIT_CENTIMETER ? 2.54 : 0;
  if (unitsPerInch > 0 && lib.GetField(tiff, TIFFTAG_XRESOLUTION, &xResolution) &&
      lib.GetField(tiff, TIFFTAG_YRESOLUTION, &yResolution)) {
    out.dpiX = DpiFromDensity(xResolution, unitsPerInch);
    out.dpiY = DpiFromDensity(yResolution, unitsPerInch);
  }
  return Gdiplus::Ok;
}

}  // namespace korvanth::imaging
