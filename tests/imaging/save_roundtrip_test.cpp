// Saved sheets read back by Qt: each format's pixels, alpha and resolution, GIF palettes, JPEG.
#include <gtest/gtest.h>

#include <QImageReader>

#include <cmath>
#include <cstdlib>
#include <map>

#include "imaging/imaging_helpers.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

// A sheet-like picture: semi-transparent pixels, fully transparent ones, opaque ones.
QImage SheetPicture(int width, int height) {
  QImage image = PatternImage(width, height, true);
  for (int x = 0; x < width; x += 3) image.setPixel(x, 0, 0x00000000u);
  image.setPixel(1, 1, 0xFF000000u);
  image.setPixel(2, 1, 0x01FFFFFFu);
  return image;
}

ImageHandle SheetAt(const QImage& image, float dpi) {
  ImageHandle bitmap = BitmapFrom(image);
  EXPECT_EQ(GdipBitmapSetResolution(bitmap.bitmap(), dpi, dpi), Ok);
  return bitmap;
}

double DpiOf(const std::string& path) {
  QImageReader reader(QString::fromStdString(path));
  return reader.read().dotsPerMeterX() * 0.0254;
}

TEST(SaveImage, PngKeepsEveryPixelAndTheResolution) {
  ScratchDir dir;
  const QImage picture = SheetPicture(128, 320);
  ImageHandle sheet = SheetAt(picture, 96.0f);
  ASSERT_EQ(SaveAs(sheet, dir.file("sheet.png"), u"image/png"), Ok);
  EXPECT_EQ(FirstDifference(picture, ReadBack(dir.file("sheet.png"))), "");
  EXPECT_NEAR(DpiOf(dir.file("sheet.png")), 96.0, 0.02);
  const std::string bytes = ReadBytes(dir.file("sheet.png"));
  ASSERT_GT(bytes.size(), 26u);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  EXPECT_EQ(bytes[25], 6);  // colour type RGBA
  EXPECT_EQ(bytes[24], 8);  // 8 bits a sample
  // And through our own decoder.
  ImageHandle again = Load(dir.file("sheet.png"));
  EXPECT_EQ(FirstDifference(picture, PixelsOf(again)), "");
}

quint32 U16At(const std::string& b, size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
quint32 U32At(const std::string& b, size_t at) { return U16At(b, at) | U16At(b, at + 2) << 16; }

// Reads the tags of the first directory of a little-endian TIFF (value fields as stored).
std::map<quint32, quint32> TiffTags(const std::string& bytes) {
  std::map<quint32, quint32> tags;
  if (bytes.size() < 8 || bytes.substr(0, 2) != "II") return tags;
  const size_t ifd = U32At(bytes, 4);
  const quint32 count = U16At(bytes, ifd);
  for (quint32 i = 0; i < count; ++i) {
    const size_t entry = ifd + 2 + 12 * i;
    const quint32 type = U16At(bytes, entry + 2);
    const quint32 n = U32At(bytes, entry + 4);
    tags[U16At(bytes, entry)] =
        type == 3 && n == 1 ? U16At(bytes, entry + 8) : U32At(bytes, entry + 8);
  }
  return tags;
}

TEST(SaveImage, TiffKeepsEveryPixelUnpremultipliedAndTheResolution) {
  ScratchDir dir;
  const QImage picture = SheetPicture(96, 128);
  ImageHandle sheet = SheetAt(picture, 72.0f);
  ASSERT_EQ(SaveAs(sheet, dir.file("sheet.tif"), u"image/tiff"), Ok);
  // The file holds the exact values: RGBA samples with unassociated alpha.
  const std::string bytes = ReadBytes(dir.file("sheet.tif"));
  auto tags = TiffTags(bytes);
  EXPECT_EQ(tags[256], 96u);
  EXPECT_EQ(tags[257], 128u);
  EXPECT_EQ(tags[259], 1u);  // uncompressed
  EXPECT_EQ(tags[277], 4u);  // samples a pixel
  EXPECT_EQ(tags[338], 2u);  // unassociated alpha
  ASSERT_EQ(tags[279], 96u * 128u * 4u);
  ASSERT_LE(size_t{tags[273]} + tags[279], bytes.size());
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 96; ++x) {
      const size_t at = tags[273] + (static_cast<size_t>(y) * 96 + x) * 4;
      const QRgb stored = qRgba(
          static_cast<unsigned char>(bytes[at]), static_cast<unsigned char>(bytes[at + 1]),
          static_cast<unsigned char>(bytes[at + 2]), static_cast<unsigned char>(bytes[at + 3]));
      ASSERT_EQ(stored, picture.pixel(x, y)) << x << "," << y;
    }
  // Qt reads it as the same picture (its reader goes through premultiplied values).
  const QImage back = ReadBack(dir.file("sheet.tif"));
  ASSERT_EQ(back.size(), picture.size());
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 96; ++x) {
      const QRgb p = qPremultiply(picture.pixel(x, y)), q = qPremultiply(back.pixel(x, y));
      ASSERT_EQ(qAlpha(q), qAlpha(p));
      ASSERT_LE(std::abs(qRed(q) - qRed(p)) + std::abs(qGreen(q) - qGreen(p)) +
                    std::abs(qBlue(q) - qBlue(p)),
                3)
          << x << "," << y;
    }
  EXPECT_NEAR(DpiOf(dir.file("sheet.tif")), 72.0, 0.02);
  ImageHandle again = Load(dir.file("sheet.tif"));
  REAL dpi = 0;
  GdipGetImageHorizontalResolution(again.image(), &dpi);
  EXPECT_NEAR(dpi, 72.0f, 0.02f);
  // Opaque bitmaps are written as RGB and read back exactly.
  ImageHandle opaque = BitmapFrom(PatternImage(9, 5, false), PixelFormat24bppRGB);
  ASSERT_EQ(SaveAs(opaque, dir.file("rgb.tiff"), u"image/tiff"), Ok);
  EXPECT_EQ(TiffTags(ReadBytes(dir.file("rgb.tiff")))[277], 3u);
  EXPECT_EQ(FirstDifference(PatternImage(9, 5, false), ReadBack(dir.file("rgb.tiff"))), "");
}

TEST(SaveImage, Bmp32KeepsAlphaAndTheResolution) {
  ScratchDir dir;
  const QImage picture = SheetPicture(128, 384);
  ImageHandle sheet = SheetAt(picture, 96.0f);
  ASSERT_EQ(SaveAs(sheet, dir.file("sheet.bmp"), u"image/bmp"), Ok);
  const std::string bytes = ReadBytes(dir.file("sheet.bmp"));
  ASSERT_GE(bytes.size(), 14u + 124u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(bytes[14]), 124);  // BITMAPV5HEADER
  EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 32);   // bits a pixel
  EXPECT_EQ(bytes.size(), 14u + 124u + 128u * 384u * 4u);
  EXPECT_EQ(FirstDifference(picture, ReadBack(dir.file("sheet.bmp"))), "");
  EXPECT_NEAR(DpiOf(dir.file("sheet.bmp")), 96.0, 0.02);
  ImageHandle again = Load(dir.file("sheet.bmp"));
  EXPECT_EQ(FirstDifference(picture, PixelsOf(again)), "");
}

TEST(SaveImage, Bmp24ForBitmapsWithoutAlpha) {
  ScratchDir dir;
  const QImage picture = PatternImage(13, 7, false);  // odd width: padded rows
  ImageHandle bitmap = BitmapFrom(picture, PixelFormat24bppRGB);
  ASSERT_EQ(SaveAs(bitmap, dir.file("frame.bmp"), u"image/bmp"), Ok);
  const std::string bytes = ReadBytes(dir.file("frame.bmp"));
  EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24);
  EXPECT_EQ(bytes.size(), 14u + 40u + 40u * 7u);
  EXPECT_EQ(FirstDifference(picture, ReadBack(dir.file("frame.bmp"))), "");
}

TEST(SaveImage, GifIsExactUpTo256ColoursWithATransparentIndex) {
  ScratchDir dir;
  // 255 visible colours, one of them only on a translucent pixel, and transparent pixels.
  QImage picture(32, 16, QImage::Format_ARGB32);
  for (int i = 0; i < 32 * 16; ++i) {
    const int c = i % 255;
    picture.setPixel(i % 32, i / 32, qRgba(c, 255 - c, (c * 7) % 256, 255));
  }
  picture.setPixel(0, 0, 0x00000000u);
  picture.setPixel(5, 5, 0x00FFFFFFu);  // transparent, whatever its colour
  const QRgb translucent = picture.pixel(6, 6) & 0x00FFFFFFu;
  picture.setPixel(6, 6, translucent | 0x40000000u);
  ImageHandle sheet = SheetAt(picture, 96.0f);
  ASSERT_EQ(SaveAs(sheet, dir.file("sheet.gif"), u"image/gif"), Ok);
  const QImage back = ReadBack(dir.file("sheet.gif"));
  ASSERT_EQ(back.size(), picture.size());
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) {
      const QRgb p = picture.pixel(x, y);
      if (qAlpha(p) == 0)
        ASSERT_EQ(qAlpha(back.pixel(x, y)), 0) << x << "," << y;
      else
        ASSERT_EQ(back.pixel(x, y), p | 0xFF000000u) << x << "," << y;
    }
  const std::string bytes = ReadBytes(dir.file("sheet.gif"));
  EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
}

TEST(SaveImage, GifQuantizesBeyond256ColoursAndKeepsTransparency) {
  ScratchDir dir;
  QImage picture(128, 128, QImage::Format_ARGB32);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) picture.setPixel(x, y, qRgb(x * 2, y * 2, (x + y) % 256));
  for (int x = 0; x < 128; ++x) picture.setPixel(x, 64, 0x00000000u);
  ImageHandle sheet = SheetAt(picture, 96.0f);
  ASSERT_EQ(SaveAs(sheet, dir.file("many.gif"), u"image/gif"), Ok);
  const QImage back = ReadBack(dir.file("many.gif"));
  ASSERT_EQ(back.size(), picture.size());
  double total = 0;
  int worst = 0;
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      const QRgb p = picture.pixel(x, y), q = back.pixel(x, y);
      if (qAlpha(p) == 0) {
        ASSERT_EQ(qAlpha(q), 0);
        continue;
      }
      ASSERT_EQ(qAlpha(q), 255);
      const int d = std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                    std::abs(qBlue(p) - qBlue(q));
      total += d;
      worst = std::max(worst, d);
    }
  EXPECT_LT(total / (128 * 127), 24.0);  // mean error over three channels
  EXPECT_LT(worst, 120);
}

TEST(SaveImage, JpegIsCloseAndRecordsTheResolution) {
  ScratchDir dir;
  QImage picture(64, 64, QImage::Format_ARGB32);
  picture.fill(0xFF3080C0u);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) picture.setPixel(x, y, 0xFFE0D020u);
  ImageHandle sheet = SheetAt(picture, 72.0f);
  ASSERT_EQ(SaveAs(sheet, dir.file("sheet.jpg"), u"image/jpeg"), Ok);
  const QImage back = ReadBack(dir.file("sheet.jpg"));
  ASSERT_EQ(back.size(), picture.size());
  for (QPoint at : {QPoint(10, 10), QPoint(50, 50)}) {
    const QRgb p = picture.pixel(at), q = back.pixel(at);
    EXPECT_NEAR(qRed(q), qRed(p), 6);
    EXPECT_NEAR(qGreen(q), qGreen(p), 6);
    EXPECT_NEAR(qBlue(q), qBlue(p), 6);
  }
  EXPECT_NEAR(DpiOf(dir.file("sheet.jpg")), 72.0, 0.02);
}

}  // namespace
