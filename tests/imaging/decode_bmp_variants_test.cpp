// Every BMP variant read is decoded as Qt's own BMP reader, an independent decoder,
// decodes it: the same pixels, the same transparency, and the same files refused.
#include <gtest/gtest.h>

#include <QImageReader>

#include <filesystem>

#include "imaging/imaging_helpers.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

std::string Header(std::uint32_t infoSize, int width, int height, int bits, int compression,
                   std::uint32_t coloursUsed) {
  return Le32(infoSize) + Le32(static_cast<quint32>(width)) + Le32(static_cast<quint32>(height)) +
         Le16(1) + Le16(static_cast<quint16>(bits)) + Le32(static_cast<quint32>(compression)) +
         Le32(0) + Le32(2835) + Le32(2835) + Le32(coloursUsed) + Le32(0);
}

std::string File(const std::string& info, const std::string& tables, const std::string& data) {
  const auto offset = static_cast<quint32>(14 + info.size() + tables.size());
  return "BM" + Le32(offset + static_cast<quint32>(data.size())) + Le32(0) + Le32(offset) + info +
         tables + data;
}

std::string Palette(int count) {
  std::string table;
  for (int i = 0; i < count; ++i) table += Le32(static_cast<quint32>(0x00103050 + i * 0x00071321));
  return table;
}

// Bytes that cover every value a field can take.
std::string Ramp(std::size_t count) {
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += static_cast<char>((i * 37 + i / 7) & 0xFF);
  return bytes;
}

std::string V4Masks(quint32 r, quint32 g, quint32 b, quint32 a) {
  return Le32(r) + Le32(g) + Le32(b) + Le32(a) + std::string(108 - 56, '\0');
}

struct Variant {
  const char* name;
  std::string bytes;
  // Qt reads what rows there are; a load refuses a picture cut short.
  bool refusedAnyway = false;
};

std::vector<Variant> Variants() {
  std::vector<Variant> all;
  const std::string seeds = std::string(KORVANTH_SOURCE_DIR) + "/tests/fuzz/seeds/bmp";
  for (const auto& entry : std::filesystem::directory_iterator(seeds))
    all.push_back({"seed", ReadBytes(entry.path().string())});
  all.push_back(
      {"16-bit 565 masks after a 40-byte header",
       File(Header(40, 7, 3, 16, 3, 0), Le32(0xF800) + Le32(0x07E0) + Le32(0x001F), Ramp(16 * 3))});
  all.push_back({"16-bit 444 masks", File(Header(40, 5, 2, 16, 3, 0),
                                          Le32(0x0F00) + Le32(0x00F0) + Le32(0x000F), Ramp(24))});
  all.push_back(
      {"32-bit plain under a V4 header", File(Header(108, 5, 3, 32, 0, 0).substr(0, 40) +
                                                  V4Masks(0xFF0000, 0xFF00, 0xFF, 0xFF000000u),
                                              "", Ramp(60))});
  all.push_back({"32-bit masks with alpha under a V4 header",
                 File(Header(108, 5, 3, 32, 3, 0).substr(0, 40) +
                          V4Masks(0xFF0000, 0xFF00, 0xFF, 0xFF000000u),
                      "", Ramp(60))});
  all.push_back(
      {"32-bit plain with a stray fourth byte", File(Header(40, 5, 3, 32, 0, 0), "", Ramp(60))});
  all.push_back({"8-bit with fewer colours than indices",
                 File(Header(40, 9, 3, 8, 0, 5), Palette(5), Ramp(36))});
  all.push_back({"4-bit odd width", File(Header(40, 7, 3, 4, 0, 0), Palette(16), Ramp(12))});
  all.push_back({"1-bit top-down", File(Header(40, 19, -3, 1, 0, 0), Palette(2), Ramp(12))});
  all.push_back({"24-bit odd width", File(Header(40, 3, 2, 24, 0, 0), "", Ramp(24))});
  // Runs that reach every pixel: Qt leaves pixels no run reaches undefined.
  all.push_back(
      {"RLE8 runs and literals", File(Header(40, 8, 2, 8, 1, 4), Palette(4),
                                      std::string("\x02\x01\x00\x03\x01\x02\x03\x00\x03\x02\x00\x00"
                                                  "\x08\x03\x00\x01",
                                                  16))});
  all.push_back({"RLE4 with an odd literal run",
                 File(Header(40, 7, 2, 4, 2, 4), Palette(4),
                      std::string("\x00\x03\x12\x30\x04\x21\x00\x00\x07\x21\x00\x01", 12))});
  // Runs end with the end-of-picture code or the last row's end of line; runs the file
  // stops before leave the picture damaged, though Qt shows the rows there are.
  const std::string rle8Rows("\x02\x01\x00\x03\x01\x02\x03\x00\x03\x02\x00\x00\x08\x03", 14);
  all.push_back({"RLE8 ending with its last row's end of line",
                 File(Header(40, 8, 2, 8, 1, 4), Palette(4), rle8Rows + std::string(2, '\0'))});
  all.push_back({"RLE8 cut before its last row",
                 File(Header(40, 8, 2, 8, 1, 4), Palette(4), rle8Rows.substr(0, 12)), true});
  all.push_back({"RLE8 cut after its last row's pixels",
                 File(Header(40, 8, 2, 8, 1, 4), Palette(4), rle8Rows), true});
  all.push_back({"RLE4 cut before its last row",
                 File(Header(40, 7, 2, 4, 2, 4), Palette(4),
                      std::string("\x00\x03\x12\x30\x04\x21\x00\x00", 8)),
                 true});
  all.push_back({"plain rows cut short", File(Header(40, 8, 4, 24, 0, 0), "", Ramp(50)), true});
  all.push_back({"palette cut short", File(Header(40, 8, 4, 8, 0, 0), Palette(3), "")});
  return all;
}

QImage ReadWithQt(const std::string& path) {
  QImageReader reader(QString::fromStdString(path), "bmp");
  reader.setAutoDetectImageFormat(false);
  QImage image;
  if (!reader.read(&image)) return QImage();
  return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                       : QImage::Format_RGB32);
}

TEST(DecodeBmpVariants, MatchQtsOwnReader) {
  ScratchDir dir;
  int index = 0;
  for (const Variant& variant : Variants()) {
    const std::string path = dir.file("v" + std::to_string(index++) + ".bmp");
    WriteBytes(path, variant.bytes);
    const QImage expected = ReadWithQt(path);
    ImageHandle loaded = Load(path);
    SCOPED_TRACE(variant.name + std::string(" ") + path);
    if (expected.isNull() || variant.refusedAnyway) {
      EXPECT_NE(loaded.lastStatus(), Ok);
      continue;
    }
    ASSERT_EQ(loaded.lastStatus(), Ok);
    PixelFormat format = 0;
    GdipGetImagePixelFormat(loaded.image(), &format);
    EXPECT_EQ(format, expected.hasAlphaChannel() ? PixelFormat32bppARGB : PixelFormat32bppRGB);
    EXPECT_EQ(FirstDifference(expected.convertToFormat(QImage::Format_ARGB32), PixelsOf(loaded)),
              "");
  }
}

}  // namespace
