// The PNG writer against an independent reading: the chunks walked and their CRCs checked
// here, the image data inflated by zlib in one piece (which checks the Adler-32), the rows
// compared with the ones built here from the pixels, and Qt's reader on the whole file.
#include <gtest/gtest.h>
#include <zlib.h>

#include <QImage>

#include <cstring>
#include <string>
#include <vector>

#include "imaging/encode/writers.h"

using namespace korvanth;

namespace {

struct PngCase {
  const char* name;
  int width;
  int height;
  QImage::Format format;  // ARGB32 (alpha), RGB32 (padding byte), RGB888 (three bytes)
  int bands;              // IDAT chunks the writer should give: one for each band
};

// Rows repeat every five rows within runs of 64, so deflate reaches back across a band's
// start into the rows before it; the alpha of each run differs, so a misplaced band shows.
QImage Picture(const PngCase& c) {
  QImage image(c.width, c.height, QImage::Format_ARGB32);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      image.setPixel(x, y,
                     qRgba((x * 7 + y % 5) & 0xFF, (x + y % 5 * 40) & 0xFF, (x ^ y % 5) & 0xFF,
                           (x * 3 + y / 64) & 0xFF));
  return image.convertToFormat(c.format == QImage::Format_RGB888 ? QImage::Format_BGR888
                                                                 : c.format);
}

imaging::encode::PixelRows RowsOf(const QImage& image) {
  imaging::encode::PixelRows rows;
  rows.scan0 = image.constBits();
  rows.stride = image.bytesPerLine();
  rows.width = image.width();
  rows.height = image.height();
  rows.bytesPerPixel = image.depth() / 8;
  rows.hasAlpha = image.hasAlphaChannel();
  rows.dpiX = rows.dpiY = 72.0f;
  return rows;
}

std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 |
         std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}

struct Walked {
  std::vector<std::string> types;
  std::vector<std::uint8_t> zlibStream;
  int idats = 0;
};

Walked WalkChunks(const std::vector<std::uint8_t>& file) {
  Walked walked;
  const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_EQ(std::memcmp(file.data(), signature, 8), 0);
  for (std::size_t at = 8; at + 12 <= file.size();) {
    const std::uint32_t length = Be32(file, at);
    EXPECT_LE(at + 12 + length, file.size());
    if (at + 12 + length > file.size()) break;
    const std::string type(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                           file.begin() + static_cast<std::ptrdiff_t>(at + 8));
    const uLong crc = crc32(0, file.data() + at + 4, 4 + length);
    EXPECT_EQ(Be32(file, at + 8 + length), crc) << type;
    walked.types.push_back(type);
    if (type == "IDAT") {
      ++walked.idats;
      walked.zlibStream.insert(walked.zlibStream.end(),
                               file.begin() + static_cast<std::ptrdiff_t>(at + 8),
                               file.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
    }
    at += 12 + length;
  }
  return walked;
}

// The image data as the file must hold it: each row a zero filter byte, then R,G,B(,A).
std::vector<std::uint8_t> ExpectedRows(const QImage& image) {
  std::vector<std::uint8_t> rows;
  for (int y = 0; y < image.height(); ++y) {
    rows.push_back(0);
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      rows.insert(rows.end(),
                  {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                   static_cast<std::uint8_t>(qBlue(p))});
      if (image.hasAlphaChannel()) rows.push_back(static_cast<std::uint8_t>(qAlpha(p)));
    }
  }
  return rows;
}

class PngWriterTest : public testing::TestWithParam<PngCase> {};

TEST_P(PngWriterTest, HoldsEveryPixelInOneZlibStreamWhateverTheWorkers) {
  const PngCase& c = GetParam();
  const QImage image = Picture(c);
  std::vector<std::uint8_t> file;
  ASSERT_TRUE(imaging::encode::WritePng(RowsOf(image), 1, file));

  const Walked walked = WalkChunks(file);
  ASSERT_GE(walked.types.size(), 4u);
  EXPECT_EQ(walked.types.front(), "IHDR");
  EXPECT_EQ(walked.types[1], "pHYs");
  EXPECT_EQ(walked.types.back(), "IEND");
  EXPECT_EQ(walked.idats, c.bands);
  EXPECT_EQ(Be32(file, 16), static_cast<std::uint32_t>(c.width));
  EXPECT_EQ(Be32(file, 20), static_cast<std::uint32_t>(c.height));
  EXPECT_EQ(file[25], image.hasAlphaChannel() ? 6 : 2);

  const std::vector<std::uint8_t> expected = ExpectedRows(image);
  std::vector<std::uint8_t> inflated(expected.size() + 1);
  uLongf size = inflated.size();
  ASSERT_EQ(uncompress(inflated.data(), &size, walked.zlibStream.data(), walked.zlibStream.size()),
            Z_OK);
  inflated.resize(size);
  EXPECT_TRUE(inflated == expected);

  QImage back;
  ASSERT_TRUE(back.loadFromData(file.data(), static_cast<int>(file.size()), "PNG"));
  EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32),
            image.convertToFormat(QImage::Format_ARGB32));
  EXPECT_EQ(back.dotsPerMeterX(), 2835);

  // The bands are cut by size alone, so more threads write the same bytes.
  std::vector<std::uint8_t> onThree;
  ASSERT_TRUE(imaging::encode::WritePng(RowsOf(image), 3, onThree));
  EXPECT_TRUE(onThree == file);
}

// A band is 1 MiB of rows (at least one row); each is one IDAT chunk.
INSTANTIATE_TEST_SUITE_P(
    Cases, PngWriterTest,
    testing::Values(PngCase{"OnePixel", 1, 1, QImage::Format_ARGB32, 1},
                    PngCase{"SheetWithAlpha", 128, 384, QImage::Format_ARGB32, 1},
                    PngCase{"SheetWithPadding", 96, 128, QImage::Format_RGB32, 1},
                    PngCase{"ThreeByteRows", 67, 9, QImage::Format_RGB888, 1},
                    // 1024 rows of 4097 bytes in 255-row bands: the last band is four rows.
                    PngCase{"FiveBands", 1024, 1024, QImage::Format_ARGB32, 5},
                    // Rows wider than a band: one row each, primed by the one before.
                    PngCase{"RowsWiderThanABand", 300000, 3, QImage::Format_RGB888, 3}),
    [](const testing::TestParamInfo<PngCase>& info) { return std::string(info.param.name); });

}  // namespace
