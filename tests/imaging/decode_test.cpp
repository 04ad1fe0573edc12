// Loading pictures: BMP RLE and spellings, stored pixels, GIF and JPEG, bad files and paths.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "imaging/imaging_helpers.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

std::string Encoded(const QImage& image, const char* format, int quality = -1) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (quality >= 0) writer.setQuality(quality);
  EXPECT_TRUE(writer.write(image)) << format;
  return bytes.toStdString();
}

// Palette entries B, G, R, 0 for indices 0..3.
const quint32 kPalette[4] = {0xFF302010u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};

std::string RleBmp(int width, int height, int bitsPerPixel, int compression,
                   const std::string& data) {
  std::string palette;
  for (quint32 colour : kPalette) palette += Le32(colour & 0x00FFFFFFu);
  const quint32 offset = 14 + 40 + static_cast<quint32>(palette.size());
  std::string file =
      "BM" + Le32(offset + static_cast<quint32>(data.size())) + Le32(0) + Le32(offset);
  file += Le32(40) + Le32(static_cast<quint32>(width)) + Le32(static_cast<quint32>(height)) +
          Le16(1) + Le16(static_cast<quint16>(bitsPerPixel)) +
          Le32(static_cast<quint32>(compression)) + Le32(static_cast<quint32>(data.size())) +
          Le32(2835) + Le32(2835) + Le32(4) + Le32(0);
  return file + palette + data;
}

QImage FromIndices(int width, int height, std::initializer_list<int> indices) {
  QImage image(width, height, QImage::Format_ARGB32);
  auto it = indices.begin();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, kPalette[*it++]);
  return image;
}

void ExpectLoadsAs(const std::string& path, const QImage& expected) {
  ImageHandle bitmap = Load(path);
  ASSERT_EQ(bitmap.lastStatus(), Ok) << path;
  EXPECT_EQ(FirstDifference(expected, PixelsOf(bitmap)), "") << path;
}

std::string Rle8Data() {
  // Rows bottom-up: an encoded run row, an absolute row, a run row, then end of bitmap.
  return std::string("\x03\x01\x03\x02\x00\x00", 6) +
         std::string("\x00\x06\x00\x01\x02\x03\x00\x01\x00\x00", 10) +
         std::string("\x06\x03\x00\x01", 4);
}

std::string Rle4Data() {
  return std::string("\x06\x12\x00\x00", 4) +
         std::string("\x00\x05\x32\x10\x30\x00\x01\x20\x00\x01", 10);
}

TEST(DecodeBmp, ReadsRle8Compression) {
  ScratchDir dir;
  WriteBytes(dir.file("rle8.bmp"), RleBmp(6, 3, 8, 1, Rle8Data()));
  ExpectLoadsAs(dir.file("rle8.bmp"),
                FromIndices(6, 3, {3, 3, 3, 3, 3, 3, 0, 1, 2, 3, 0, 1, 1, 1, 1, 2, 2, 2}));
}

TEST(DecodeBmp, ReadsRle4Compression) {
  ScratchDir dir;
  WriteBytes(dir.file("rle4.bmp"), RleBmp(6, 2, 4, 2, Rle4Data()));
  ExpectLoadsAs(dir.file("rle4.bmp"), FromIndices(6, 2, {3, 2, 1, 0, 3, 2, 1, 2, 1, 2, 1, 2}));
}

TEST(DecodeBmp, DibAndRleSpellingsAndWrongExtensionsWork) {
  ScratchDir dir;
  WriteBytes(dir.file("tiles.rle"), RleBmp(6, 3, 8, 1, Rle8Data()));
  ImageHandle rle = Load(dir.file("tiles.rle"));
  EXPECT_EQ(rle.lastStatus(), Ok);
  EXPECT_EQ(rle.Width(), 6u);

  const QImage pattern = PatternImage(9, 7, false);
  WriteBytes(dir.file("tiles.dib"), Encoded(pattern, "bmp"));
  ExpectLoadsAs(dir.file("tiles.dib"), pattern);
  // PNG content under a BMP name, BMP content under a PNG name.
  const QImage withAlpha = PatternImage(9, 7, true);
  WriteBytes(dir.file("really-png.bmp"), Encoded(withAlpha, "png"));
  ExpectLoadsAs(dir.file("really-png.bmp"), withAlpha);
  WriteBytes(dir.file("really-bmp.png"), Encoded(pattern, "bmp"));
  ExpectLoadsAs(dir.file("really-bmp.png"), pattern);
}

TEST(Decode, LosslessFormatsGiveTheStoredPixels) {
  ScratchDir dir;
  const QImage alpha = PatternImage(33, 21, true);
  const QImage opaque = PatternImage(33, 21, false);
  WriteBytes(dir.file("a.png"), Encoded(alpha, "png"));
  WriteBytes(dir.file("b.png"), Encoded(opaque, "png"));
  WriteBytes(dir.file("c.bmp"), Encoded(opaque, "bmp"));
  WriteBytes(dir.file("d.tif"), Encoded(opaque, "tiff"));
  ExpectLoadsAs(dir.file("a.png"), alpha);
  ExpectLoadsAs(dir.file("b.png"), opaque);
  ExpectLoadsAs(dir.file("c.bmp"), opaque);
  ExpectLoadsAs(dir.file("d.tif"), opaque);

  ImageHandle png = Load(dir.file("a.png"));
  PixelFormat format = 0;
  GdipGetImagePixelFormat(png.image(), &format);
  EXPECT_EQ(format, PixelFormat32bppARGB);
  ImageHandle bmp = Load(dir.file("c.bmp"));
  GdipGetImagePixelFormat(bmp.image(), &format);
  EXPECT_EQ(format, PixelFormat32bppRGB);
}

TEST(Decode, ReadsGifWithItsTransparency) {
  ScratchDir dir;
  WriteBytes(dir.file("t.gif"),
             GifBytes(4, 2, {0x000000, 0xFF0000, 0x00FF00}, {0, 1, 2, 0, 1, 1, 2, 2}, 0));
  ImageHandle gif = Load(dir.file("t.gif"));
  ASSERT_EQ(gif.lastStatus(), Ok);
  const QImage pixels = PixelsOf(gif);
  EXPECT_EQ(qAlpha(pixels.pixel(0, 0)), 0);
  EXPECT_EQ(pixels.pixel(1, 0), 0xFFFF0000u);
  EXPECT_EQ(pixels.pixel(2, 0), 0xFF00FF00u);
  EXPECT_EQ(pixels.pixel(3, 1), 0xFF00FF00u);
  PixelFormat format = 0;
  GdipGetImagePixelFormat(gif.image(), &format);
  EXPECT_EQ(format, PixelFormat32bppARGB);
}

TEST(Decode, ReadsJpegCloseToTheOriginal) {
  ScratchDir dir;
  const QImage flat = SolidImage(16, 16, 0xFF4080C0u);
  WriteBytes(dir.file("f.jpg"), Encoded(flat, "jpeg", 95));
  ImageHandle jpeg = Load(dir.file("f.jpg"));
  ASSERT_EQ(jpeg.lastStatus(), Ok);
  const QRgb p = PixelsOf(jpeg).pixel(8, 8);
  EXPECT_NEAR(qRed(p), 0x40, 3);
  EXPECT_NEAR(qGreen(p), 0x80, 3);
  EXPECT_NEAR(qBlue(p), 0xC0, 3);
  EXPECT_EQ(qAlpha(p), 255);
}

TEST(Decode, IgnoresGammaAndColourProfiles) {
  ScratchDir dir;
  const QImage pattern = PatternImage(20, 10, true);
  const std::string png = Encoded(pattern, "png");
  WriteBytes(dir.file("gamma.png"), WithChunkAfterHeader(png, "gAMA", BigEndian32(100000 / 4)));
  WriteBytes(dir.file("srgb.png"), WithChunkAfterHeader(png, "sRGB", std::string(1, '\0')));
  QImage profiled = pattern;
  profiled.setColorSpace(QColorSpace(QColorSpace::ProPhotoRgb));
  const std::string withProfile = Encoded(profiled, "png");
  ASSERT_NE(withProfile.find("iCCP"), std::string::npos);
  WriteBytes(dir.file("icc.png"), withProfile);
  ExpectLoadsAs(dir.file("gamma.png"), pattern);
  ExpectLoadsAs(dir.file("srgb.png"), pattern);
  ExpectLoadsAs(dir.file("icc.png"), pattern);
}

TEST(Decode, ReportsTheFilesResolution) {
  ScratchDir dir;
  QImage image = PatternImage(8, 8);
  image.setDotsPerMeterX(2835);  // 72 dpi
  image.setDotsPerMeterY(5906);  // 150 dpi
  WriteBytes(dir.file("72.png"), Encoded(image, "png"));
  ImageHandle bitmap = Load(dir.file("72.png"));
  ASSERT_EQ(bitmap.lastStatus(), Ok);
  REAL x = 0, y = 0;
  GdipGetImageHorizontalResolution(bitmap.image(), &x);
  GdipGetImageVerticalResolution(bitmap.image(), &y);
  EXPECT_NEAR(x, 72.0f, 0.01f);
  EXPECT_NEAR(y, 150.0f, 0.02f);
  ASSERT_EQ(GdipBitmapSetResolution(bitmap.bitmap(), 96.0f, 96.0f), Ok);
  GdipGetImageHorizontalResolution(bitmap.image(), &x);
  EXPECT_EQ(x, 96.0f);

  // A BMP's pixels per metre, and 0 meaning "not recorded".
  std::string bmp = RleBmp(6, 3, 8, 1, Rle8Data());
  WriteBytes(dir.file("72.bmp"), bmp);
  ImageHandle withDpi = Load(dir.file("72.bmp"));
  GdipGetImageVerticalResolution(withDpi.image(), &y);
  EXPECT_NEAR(y, 72.0f, 0.01f);
  bmp.replace(38, 8, std::string(8, '\0'));
  WriteBytes(dir.file("none.bmp"), bmp);
  ImageHandle withoutDpi = Load(dir.file("none.bmp"));
  ASSERT_EQ(withoutDpi.lastStatus(), Ok);
  GdipGetImageHorizontalResolution(withoutDpi.image(), &x);
  EXPECT_EQ(x, 96.0f);

  // A GIF records no resolution: 96.
  WriteBytes(dir.file("plain.gif"), GifBytes(2, 1, {0x102030, 0x405060}, {0, 1}, -1));
  ImageHandle gif = Load(dir.file("plain.gif"));
  ASSERT_EQ(gif.lastStatus(), Ok);
  GdipGetImageHorizontalResolution(gif.image(), &x);
  EXPECT_EQ(x, 96.0f);
}

TEST(Decode, RefusesAHugeDeclaredSizeFastWithoutAllocating) {
  ScratchDir dir;
  // IHDR: 100000 x 100000, 8-bit RGBA.
  const std::string header =
      BigEndian32(100000) + BigEndian32(100000) + std::string("\x08\x06\x00\x00\x00", 5);
  const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) +
                          PngChunk("IDAT", std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8)) +
                          PngChunk("IEND", "");
  WriteBytes(dir.file("huge.png"), png);
  const auto start = std::chrono::steady_clock::now();
  ImageHandle bitmap = Load(dir.file("huge.png"));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(bitmap.lastStatus(), ValueOverflow);
  EXPECT_TRUE(bitmap.empty());
  EXPECT_LT(elapsed, std::chrono::seconds(1));

  // A BMP header declaring 40000 x 40000 at 32 bits, with almost no data.
  const std::string bmp = "BM" + Le32(14 + 40 + 16) + Le32(0) + Le32(54) + Le32(40) + Le32(40000) +
                          Le32(40000) + Le16(1) + Le16(32) + Le32(0) + Le32(0) + Le32(0) + Le32(0) +
                          Le32(0) + Le32(0) + std::string(16, '\x7f');
  WriteBytes(dir.file("huge.bmp"), bmp);
  EXPECT_EQ(Load(dir.file("huge.bmp")).lastStatus(), ValueOverflow);
}

TEST(Decode, DamagedFilesFailCleanly) {
  ScratchDir dir;
  const QImage pattern = PatternImage(64, 48, true);
  WriteBytes(dir.file("empty.png"), "");
  EXPECT_EQ(Load(dir.file("empty.png")).lastStatus(), UnknownImageFormat);
  WriteBytes(dir.file("text.bmp"), "this is not a picture at all");
  EXPECT_EQ(Load(dir.file("text.bmp")).lastStatus(), UnknownImageFormat);
  // A known signature with nothing sound behind it is a damaged file of that type.
  WriteBytes(dir.file("signature.png"), std::string("\x89PNG\r\n\x1a\n", 8) + "garbage!");
  EXPECT_EQ(Load(dir.file("signature.png")).lastStatus(), GenericError);
  WriteBytes(dir.file("header.bmp"), "BM" + Le32(999) + Le32(0));
  EXPECT_EQ(Load(dir.file("header.bmp")).lastStatus(), GenericError);

  // Truncated files of every kind are damaged (GIF and TIFF may hold a whole picture
  // before their end, so either outcome is sound for them).
  for (const char* format : {"png", "bmp", "gif", "jpeg", "tiff"}) {
    std::vector<unsigned char> indices(64 * 48);
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<unsigned char>(i % 7);
    const std::string whole = std::string(format) == "gif"
                                  ? GifBytes(64, 48, {1, 2, 3, 4, 5, 6, 7}, indices, 3)
                                  : Encoded(pattern, format);
    for (std::size_t keep : {whole.size() / 2, std::size_t{40}, std::size_t{12}}) {
      const std::string path = dir.file(std::string("cut-") + format);
      WriteBytes(path, whole.substr(0, keep));
      ImageHandle bitmap = Load(path);
      if (bitmap.lastStatus() == Ok) {
        EXPECT_EQ(bitmap.Width(), 64u) << format << " " << keep;
        EXPECT_EQ(bitmap.Height(), 48u) << format << " " << keep;
      } else {
        EXPECT_EQ(bitmap.lastStatus(), GenericError) << format << " " << keep;
      }
    }
  }
  // A truncated PNG loses its checksummed data: refused.
  WriteBytes(dir.file("half.png"), Encoded(pattern, "png").substr(0, 300));
  EXPECT_EQ(Load(dir.file("half.png")).lastStatus(), GenericError);
}

TEST(Decode, MangledFilesNeverCrash) {
  // Deterministic byte damage to valid files of every kind: each load either fails with
  // a status or gives a picture of a sane size.
  ScratchDir dir;
  const QImage pattern = PatternImage(40, 30, true);
  std::vector<unsigned char> indices(40 * 30);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<unsigned char>(i % 5);
  const std::string files[] = {Encoded(pattern, "png"),
                               Encoded(pattern, "bmp"),
                               Encoded(pattern, "tiff"),
                               Encoded(pattern, "jpeg"),
                               GifBytes(40, 30, {1, 2, 3, 4, 5}, indices, 2),
                               RleBmp(6, 3, 8, 1, Rle8Data()),
                               RleBmp(6, 2, 4, 2, Rle4Data())};
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (const std::string& original : files) {
    for (int round = 0; round < 40; ++round) {
      std::string bytes = original;
      const int changes = 1 + static_cast<int>(next() % 8);
      for (int k = 0; k < changes; ++k) {
        // Headers are where the damage matters most: favour the first 64 bytes.
        const size_t at =
            next() % 2 ? next() % std::min<size_t>(64, bytes.size()) : next() % bytes.size();
        bytes[at] = static_cast<char>(next() >> 24);
      }
      WriteBytes(dir.file("mangled"), bytes);
      ImageHandle bitmap = Load(dir.file("mangled"));
      if (bitmap.lastStatus() == Ok) {
        EXPECT_GT(bitmap.Width(), 0u);
        EXPECT_LE(uint64_t{bitmap.Width()} * bitmap.Height() * 4, uint64_t{1} << 30);
        PixelsOf(bitmap);  // every pixel readable
      } else {
        const GpStatus status = bitmap.lastStatus();
        EXPECT_TRUE(status == UnknownImageFormat || status == GenericError ||
                    status == ValueOverflow)
            << status;
      }
    }
  }
}

TEST(Decode, PathProblemsGiveTheirStatus) {
  ScratchDir dir;
  EXPECT_EQ(Load(dir.file("missing.png")).lastStatus(), FileNotFound);
  EXPECT_EQ(Load(dir.file("no-folder/missing.png")).lastStatus(), FileNotFound);
  EXPECT_EQ(Load(dir.path().string()).lastStatus(), AccessDenied);
  EXPECT_EQ(Load("").lastStatus(), FileNotFound);
  GpBitmap* bitmap = reinterpret_cast<GpBitmap*>(1);
  EXPECT_EQ(GdipCreateBitmapFromFile(nullptr, &bitmap), InvalidParameter);
  // A pipe is never opened: reading it would wait for a writer forever.
  ASSERT_EQ(::mkfifo(dir.file("pipe.png").c_str(), 0600), 0);
  EXPECT_EQ(Load(dir.file("pipe.png")).lastStatus(), Win32Error);
}

TEST(Decode, UnreadableFileGivesAccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  ScratchDir dir;
  WriteBytes(dir.file("secret.png"), "x");
  ASSERT_EQ(::chmod(dir.file("secret.png").c_str(), 0), 0);
  EXPECT_EQ(Load(dir.file("secret.png")).lastStatus(), AccessDenied);
}

TEST(Decode, OpensJapaneseFileNames) {
  ScratchDir dir;
  const QImage pattern = PatternImage(12, 5, true);
  const std::string path = dir.file("地形タイル_テスト.png");
  WriteBytes(path, Encoded(pattern, "png"));
  ExpectLoadsAs(path, pattern);
}

TEST(Decode, LargePictureIsLockedInPlace) {
  // The decoded pixels are the bitmap's own: locking in its format hands them out.
  ScratchDir dir;
  const QImage big = PatternImage(1024, 768, true);
  WriteBytes(dir.file("big.png"), Encoded(big, "png"));
  ImageHandle bitmap = Load(dir.file("big.png"));
  ASSERT_EQ(bitmap.lastStatus(), Ok);
  Rect rect{0, 0, 1024, 768};
  BitmapData first{}, second{};
  ASSERT_EQ(
      GdipBitmapLockBits(bitmap.bitmap(), &rect, ImageLockModeRead, PixelFormat32bppARGB, &first),
      Ok);
  GdipBitmapUnlockBits(bitmap.bitmap(), &first);
  ASSERT_EQ(
      GdipBitmapLockBits(bitmap.bitmap(), &rect, ImageLockModeRead, PixelFormat32bppARGB, &second),
      Ok);
  EXPECT_EQ(first.Scan0, second.Scan0);
  EXPECT_EQ(first.Stride, 1024 * 4);
  EXPECT_EQ(static_cast<const quint32*>(second.Scan0)[767 * 1024 + 1023], big.pixel(1023, 767));
  GdipBitmapUnlockBits(bitmap.bitmap(), &second);
}

}  // namespace
