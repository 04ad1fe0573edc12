// TIFF variants written by ImageMagick and by libtiff, loaded and cut into sheets: every
// stored value must arrive. The expected pixels are the pattern the files were made
// from (ImageMagick widens 8-bit values to 16 bits as v * 257, which reads back exactly),
// and for premultiplied alpha a table worked out by hand.
#include <gtest/gtest.h>

#include <QImageReader>

#include <tiffio.h>

#include <string>
#include <vector>

#include "convert/picture_file.h"
#include "convert/conversion_job.h"
#include "support/expected_sheet.h"
#include "support/imagemagick.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

constexpr int kWidth = 70;
constexpr int kHeight = 100;

enum class Input { Rgba, Rgb, Grey, GreySixteen, BlackWhite, FewColours };

struct Variant {
  const char* name;
  Input input;
  std::vector<std::string> options;
  // What the written file must be, read back with libtiff.
  bool tiled;
  int bits;
  int photometric;
  int extraSample;  // -1: no extra sample
  int planar;
};

const std::vector<Variant>& Variants() {
  static const std::vector<Variant> variants = {
      {"rgba strips",
       Input::Rgba,
       {"-compress", "None"},
       false,
       8,
       PHOTOMETRIC_RGB,
       EXTRASAMPLE_UNASSALPHA,
       PLANARCONFIG_CONTIG},
      {"rgba lzw",
       Input::Rgba,
       {"-compress", "LZW"},
       false,
       8,
       PHOTOMETRIC_RGB,
       EXTRASAMPLE_UNASSALPHA,
       PLANARCONFIG_CONTIG},
      {"rgba deflate",
       Input::Rgba,
       {"-compress", "Zip"},
       false,
       8,
       PHOTOMETRIC_RGB,
       EXTRASAMPLE_UNASSALPHA,
       PLANARCONFIG_CONTIG},
      {"rgba tiles",
       Input::Rgba,
       {"-define", "tiff:tile-geometry=16x16", "-compress", "None"},
       true,
       8,
       PHOTOMETRIC_RGB,
       EXTRASAMPLE_UNASSALPHA,
       PLANARCONFIG_CONTIG},
      {"rgba deflate tiles",
       Input::Rgba,
       {"-define", "tiff:tile-geometry=32x16", "-compress", "Zip"},
       true,
       8,
       PHOTOMETRIC_RGB,
       EXTRASAMPLE_UNASSALPHA,
       PLANARCONFIG_CONTIG},
      {"rgba 16-bit",
       Input::Rgba,
       {"-depth", "16", "-compress", "None"},
       false,
       16,
       PHOTOMETRIC_RGB,
       EXTRASAMPLE_UNASSALPHA,
       PLANARCONFIG_CONTIG},
      {"rgba 16-bit tiles",
       Input::Rgba,
       {"-depth", "16", "-define", "tiff:tile-geometry=16x32", "-compress", "LZW"},
       true,
       16,
       PHOTOMETRIC_RGB,
       EXTRASAMPLE_UNASSALPHA,
       PLANARCONFIG_CONTIG},
      {"rgba planes",
       Input::Rgba,
       {"-interlace", "Plane", "-compress", "None"},
       false,
       8,
       PHOTOMETRIC_RGB,
       EXTRASAMPLE_UNASSALPHA,
       PLANARCONFIG_SEPARATE},
      {"rgba planes in tiles",
       Input::Rgba,
       {"-interlace", "Plane", "-define", "tiff:tile-geometry=16x16", "-compress", "Zip"},
       true,
       8,
       PHOTOMETRIC_RGB,
       EXTRASAMPLE_UNASSALPHA,
       PLANARCONFIG_SEPARATE},
      {"rgb",
       Input::Rgb,
       {"-compress", "None"},
       false,
       8,
       PHOTOMETRIC_RGB,
       -1,
       PLANARCONFIG_CONTIG},
      {"rgb tiles",
       Input::Rgb,
       {"-define", "tiff:tile-geometry=16x16", "-compress", "None"},
       true,
       8,
       PHOTOMETRIC_RGB,
       -1,
       PLANARCONFIG_CONTIG},
      {"grey",
       Input::Grey,
       {"-compress", "None"},
       false,
       8,
       PHOTOMETRIC_MINISBLACK,
       -1,
       PLANARCONFIG_CONTIG},
      {"grey 16-bit",
       Input::Grey,
       {"-depth", "16", "-compress", "Zip"},
       false,
       16,
       PHOTOMETRIC_MINISBLACK,
       -1,
       PLANARCONFIG_CONTIG},
      {"grey 4-bit",
       Input::GreySixteen,
       {"-type", "Grayscale", "-depth", "4", "-compress", "None"},
       false,
       4,
       PHOTOMETRIC_MINISBLACK,
       -1,
       PLANARCONFIG_CONTIG},
      {"black and white",
       Input::BlackWhite,
       {"-type", "Bilevel", "-depth", "1", "-compress", "None"},
       false,
       1,
       PHOTOMETRIC_MINISBLACK,
       -1,
       PLANARCONFIG_CONTIG},
      {"palette",
       Input::FewColours,
       {"-type", "Palette", "-compress", "LZW"},
       false,
       8,
       PHOTOMETRIC_PALETTE,
       -1,
       PLANARCONFIG_CONTIG},
  };
  return variants;
}

// The picture each input kind stands for.
QImage Pattern(Input input) {
  QImage image = PatternImage(kWidth, kHeight, input == Input::Rgba);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const QRgb p = image.pixel(x, y);
      const int grey = (qRed(p) * 3 + qGreen(p) * 7 + x * y) & 0xFF;
      switch (input) {
        case Input::Grey:
          image.setPixel(x, y, qRgb(grey, grey, grey));
          break;
        case Input::GreySixteen: {
          const int level = (grey & 0xF) * 17;  // exactly representable in 4 bits
          image.setPixel(x, y, qRgb(level, level, level));
          break;
        }
        case Input::BlackWhite:
          image.setPixel(x, y, grey & 0x10 ? 0xFFFFFFFFu : 0xFF000000u);
          break;
        case Input::FewColours:
          image.setPixel(x, y,
                         0xFF000000u | (((x / 9) * 0x2F) << 16) | (((y / 13) * 0x1D) << 8) |
                             ((x + y) % 3) * 0x55);
          break;
        default:
          break;
      }
    }
  }
  return image;
}

bool MakeWithImageMagick(const ScratchDir& dir, const Variant& v, const std::string& out) {
  const bool alpha = v.input == Input::Rgba;
  std::vector<std::string> options;
  if (alpha) options = {"-define", "tiff:alpha=unassociated"};
  options.insert(options.end(), v.options.begin(), v.options.end());
  return WriteWithImageMagick(Pattern(v.input), alpha, dir.file("in.raw"), options, out);
}

// The sheet of the terrain block at (3, 2), built from the file and read back.
QImage SheetOf(const std::string& picture, const std::string& sheet) {
  ImageHandle source;
  if (LoadPictureFile(picture, source).problem != LoadProblem::None) return QImage();
  const bool saved =
      RunConversion({&source, LayoutFormat::Terrain1, {3, 2}, sheet, kNoTilesets, picture}, {})
          .ok();
  return saved ? ReadBack(sheet) : QImage();
}

TEST(TiffExactness, EveryVariantArrivesBitForBitInTheSheet) {
  ScratchDir dir;
  for (const Variant& v : Variants()) {
    const std::string path = dir.file("variant.tif");
    ASSERT_TRUE(MakeWithImageMagick(dir, v, path)) << v.name;

    // The file is the variant it is meant to be.
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(tiff, nullptr) << v.name;
    std::uint16_t bits = 0, photometric = 0, planar = 0, extraCount = 0;
    std::uint16_t* extra = nullptr;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
    EXPECT_EQ(TIFFIsTiled(tiff) != 0, v.tiled) << v.name;
    EXPECT_EQ(bits, v.bits) << v.name;
    if (v.photometric >= 0) {
      EXPECT_EQ(photometric, v.photometric) << v.name;
    }
    EXPECT_EQ(extraCount > 0 ? extra[0] : -1, v.extraSample) << v.name;
    EXPECT_EQ(planar, v.planar) << v.name;
    TIFFClose(tiff);

    const QImage expected = Pattern(v.input);
    ImageHandle loaded = ImageHandle::FromFile(reinterpret_cast<const WCHAR*>(Wide(path).c_str()));
    ASSERT_EQ(loaded.lastStatus(), Ok) << v.name;
    const QImage sheet = SheetOf(path, dir.file("sheet.png"));
    EXPECT_EQ(FirstDifference(ExpectedSheet(expected, LayoutFormat::Terrain1, 3, 2), sheet), "")
        << v.name;
  }
}

TEST(TiffExactness, PremultipliedAlphaIsDividedOutRoundingToNearest) {
  // Stored R, G, B, A -> expected 0xAARRGGBB, by hand: c = min(255, (c * 255 + a / 2) / a).
  struct Sample {
    std::uint8_t stored[4];
    QRgb expected;
  };
  const Sample samples[] = {
      {{0, 0, 0, 0}, 0x00000000u},        {{255, 255, 255, 255}, 0xFFFFFFFFu},
      {{64, 32, 0, 128}, 0x80804000u},     // 16384 / 128 = 128; 8224 / 128 = 64
      {{1, 1, 1, 2}, 0x02808080u},         // 256 / 2 = 128
      {{200, 100, 50, 100}, 0x64FFFF80u},  // 510 and 255 clamp to 255; 12800 / 100 = 128
      {{10, 20, 30, 255}, 0xFF0A141Eu},
  };
  for (const bool tiled : {false, true}) {
    ScratchDir dir;
    const std::string path = dir.file("premultiplied.tif");
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tiff, nullptr);
    const std::uint32_t width = 16, height = 16;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 4);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    const std::uint16_t associated = EXTRASAMPLE_ASSOCALPHA;
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &associated);
    std::vector<std::uint8_t> pixels(width * height * 4);
    for (std::size_t i = 0; i < width * height; ++i)
      std::copy_n(samples[i % std::size(samples)].stored, 4, &pixels[i * 4]);
    if (tiled) {
      TIFFSetField(tiff, TIFFTAG_TILEWIDTH, 16);
      TIFFSetField(tiff, TIFFTAG_TILELENGTH, 16);
      ASSERT_GT(TIFFWriteTile(tiff, pixels.data(), 0, 0, 0, 0), 0);
    } else {
      TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 4);
      for (std::uint32_t y = 0; y < height; ++y)
        ASSERT_EQ(TIFFWriteScanline(tiff, &pixels[y * width * 4], y, 0), 1);
    }
    TIFFClose(tiff);

    ImageHandle loaded = ImageHandle::FromFile(reinterpret_cast<const WCHAR*>(Wide(path).c_str()));
    ASSERT_EQ(loaded.lastStatus(), Ok);
    for (std::uint32_t i = 0; i < width * height; ++i) {
      ARGB got = 0;
      ASSERT_EQ(GdipBitmapGetPixel(loaded.bitmap(), static_cast<INT>(i % width),
                                   static_cast<INT>(i / width), &got),
                Ok);
      EXPECT_EQ(got, samples[i % std::size(samples)].expected)
          << "pixel " << i << " tiled " << tiled;
    }
  }
}

TEST(TiffExactness, DamagedVariantsFailCleanly) {
  // Deterministic byte damage to every variant (tiles, planes, 16-bit, palettes): each
  // load gives a picture of a sane size or a status, never a crash.
  ScratchDir dir;
  std::uint32_t seed = 2024;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (const Variant& v : Variants()) {
    const std::string made = dir.file("made.tif");
    ASSERT_TRUE(MakeWithImageMagick(dir, v, made)) << v.name;
    const std::string original = ReadBytes(made);
    for (int round = 0; round < 30; ++round) {
      std::string bytes = original;
      for (int k = 1 + static_cast<int>(next() % 6); k > 0; --k) {
        // The directory sits at the end of these files: favour the first and last bytes.
        const std::size_t span = std::min<std::size_t>(256, bytes.size());
        const std::size_t at = next() % 3 == 0   ? next() % span
                               : next() % 2 == 0 ? bytes.size() - 1 - next() % span
                                                 : next() % bytes.size();
        bytes[at] = static_cast<char>(next() >> 24);
      }
      WriteBytes(dir.file("damaged.tif"), bytes);
      ImageHandle loaded = ImageHandle::FromFile(
          reinterpret_cast<const WCHAR*>(Wide(dir.file("damaged.tif")).c_str()));
      const GpStatus status = loaded.lastStatus();
      if (status == Ok) {
        EXPECT_LE(std::uint64_t{loaded.Width()} * loaded.Height() * 4, std::uint64_t{1} << 30);
      } else {
        EXPECT_TRUE(status == GenericError || status == ValueOverflow ||
                    status == UnknownImageFormat)
            << v.name << " " << status;
      }
    }
  }
}

TEST(TiffExactness, OtherColourKindsMatchQtsReader) {
  // Lossy JPEG compression and CMYK (read through libtiff's RGBA reader) give what Qt's
  // TIFF reader gives.
  ScratchDir dir;
  const std::vector<std::vector<std::string>> kinds = {{"-compress", "JPEG"},
                                                       {"-colorspace", "CMYK"}};
  for (const std::vector<std::string>& options : kinds) {
    const std::string path = dir.file("kind.tif");
    ASSERT_TRUE(
        WriteWithImageMagick(Pattern(Input::Rgb), false, dir.file("in.raw"), options, path));
    QImageReader reader(QString::fromStdString(path), "tiff");
    const QImage expected = reader.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(expected.isNull()) << options[1];
    ImageHandle loaded = ImageHandle::FromFile(reinterpret_cast<const WCHAR*>(Wide(path).c_str()));
    ASSERT_EQ(loaded.lastStatus(), Ok) << options[1];
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        ARGB got = 0;
        ASSERT_EQ(GdipBitmapGetPixel(loaded.bitmap(), x, y, &got), Ok);
        ASSERT_EQ(got, expected.pixel(x, y)) << options[1] << " at " << x << "," << y;
      }
    }
  }
}

TEST(TiffExactness, WhiteIsZeroGreyIsInverted) {
  ScratchDir dir;
  const std::string path = dir.file("white-is-zero.tif");
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  ASSERT_NE(tiff, nullptr);
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 4);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 1);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 1);
  std::uint8_t row[4] = {0, 255, 100, 1};
  ASSERT_EQ(TIFFWriteScanline(tiff, row, 0, 0), 1);
  TIFFClose(tiff);
  ImageHandle loaded = ImageHandle::FromFile(reinterpret_cast<const WCHAR*>(Wide(path).c_str()));
  ASSERT_EQ(loaded.lastStatus(), Ok);
  const ARGB expected[4] = {0xFFFFFFFFu, 0xFF000000u, 0xFF9B9B9Bu, 0xFFFEFEFEu};
  for (int x = 0; x < 4; ++x) {
    ARGB got = 0;
    ASSERT_EQ(GdipBitmapGetPixel(loaded.bitmap(), x, 0, &got), Ok);
    EXPECT_EQ(got, expected[x]) << x;
  }
}

}  // namespace
