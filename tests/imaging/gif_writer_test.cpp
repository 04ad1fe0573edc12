// The GIF writer's files read back by two independent decoders (giflib and Qt): the code
// stream must decode to exactly the indices written, whatever the table growth and resets.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>

#include <cstring>
#include <random>
#include <set>
#include <utility>

#include "imaging/encode/gif_palette.h"
#include "imaging/encode/lzw.h"
#include "imaging/encode/writers.h"

namespace {

using korvanth::imaging::encode::PixelRows;

struct Decoded {
  int width = 0;
  int height = 0;
  std::vector<quint32> palette;  // 0xRRGGBB
  int transparent = -1;
  std::vector<unsigned char> indices;
};

struct MemoryInput {
  const std::vector<std::uint8_t>* bytes;
  std::size_t at = 0;
};

int ReadMemory(GifFileType* gif, GifByteType* into, int length) {
  auto* in = static_cast<MemoryInput*>(gif->UserData);
  const std::size_t n =
      std::min<std::size_t>(static_cast<std::size_t>(length), in->bytes->size() - in->at);
  std::memcpy(into, in->bytes->data() + in->at, n);
  in->at += n;
  return static_cast<int>(n);
}

// giflib's reading of the file: screen, global palette, transparent index, the indices.
Decoded DecodeWithGiflib(const std::vector<std::uint8_t>& bytes) {
  Decoded out;
  MemoryInput input{&bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&input, ReadMemory, &error);
  if (gif == nullptr) {
    ADD_FAILURE() << "giflib cannot open the file: " << error;
    return out;
  }
  if (DGifSlurp(gif) != GIF_OK || gif->ImageCount != 1) {
    ADD_FAILURE() << "giflib cannot read the image: " << gif->Error;
    DGifCloseFile(gif, &error);
    return out;
  }
  out.width = gif->SWidth;
  out.height = gif->SHeight;
  for (int i = 0; gif->SColorMap && i < gif->SColorMap->ColorCount; ++i) {
    const GifColorType c = gif->SColorMap->Colors[i];
    out.palette.push_back(quint32{c.Red} << 16 | quint32{c.Green} << 8 | c.Blue);
  }
  GraphicsControlBlock control{};
  if (DGifSavedExtensionToGCB(gif, 0, &control) == GIF_OK)
    out.transparent = control.TransparentColor;
  const SavedImage& image = gif->SavedImages[0];
  out.indices.assign(image.RasterBits,
                     image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
  DGifCloseFile(gif, &error);
  return out;
}

QImage DecodeWithQt(const std::vector<std::uint8_t>& bytes) {
  QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "gif");
  return reader.read().convertToFormat(QImage::Format_ARGB32);
}

PixelRows RowsOver(const QImage& image) {
  PixelRows rows;
  rows.scan0 = image.constBits();
  rows.stride = image.bytesPerLine();
  rows.width = image.width();
  rows.height = image.height();
  return rows;
}

// Pictures chosen for the code stream: one colour (long runs, codes grow fast), noise
// over 2, 16 and 256 colours (the table fills and is cleared many times), a ramp.
struct Case {
  const char* name;
  int width;
  int height;
  int colours;  // 0: a ramp of 256 greys across; otherwise random over this many
};

QImage CasePicture(const Case& c) {
  QImage image(c.width, c.height, QImage::Format_ARGB32);
  std::mt19937 random(7);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const int v = c.colours == 0 ? (x + y) % 256 : static_cast<int>(random() % c.colours);
      image.setPixel(x, y, qRgb(v, (v * 37) % 256, 255 - v));
    }
  return image;
}

TEST(GifWriter, EveryPictureDecodesToItsExactPixelsInGiflibAndQt) {
  const Case cases[] = {
      {"one colour", 300, 200, 1},  {"two colours", 128, 320, 2}, {"sixteen", 97, 61, 16},
      {"256 noise", 128, 384, 256}, {"ramp", 256, 256, 0},        {"one pixel", 1, 1, 1},
      {"one row", 4000, 1, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QImage picture = CasePicture(c);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(korvanth::imaging::encode::WriteGif(RowsOver(picture), bytes));
    const Decoded decoded = DecodeWithGiflib(bytes);
    ASSERT_EQ(decoded.width, c.width);
    ASSERT_EQ(decoded.height, c.height);
    EXPECT_EQ(decoded.transparent, -1);
    ASSERT_EQ(decoded.indices.size(), static_cast<std::size_t>(c.width) * c.height);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const unsigned char index = decoded.indices[static_cast<std::size_t>(y) * c.width + x];
        ASSERT_LT(index, decoded.palette.size());
        ASSERT_EQ(decoded.palette[index] | 0xFF000000u, picture.pixel(x, y)) << x << "," << y;
      }
    const QImage back = DecodeWithQt(bytes);
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_TRUE(back == picture);
  }
}

TEST(GifWriter, PaletteSizeIsTheSmallestPowerOfTwoAndTransparencyIsMarked) {
  // colours in the picture (visible, then whether one pixel is transparent) -> table size
  const struct {
    int visible;
    bool transparent;
    std::size_t tableSize;
  } cases[] = {{1, false, 2}, {2, false, 2},    {2, true, 4},     {3, false, 4},
               {5, true, 8},  {128, true, 256}, {255, true, 256}, {256, false, 256}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.visible);
    QImage picture(64, 8, QImage::Format_ARGB32);
    for (int i = 0; i < 64 * 8; ++i) picture.setPixel(i % 64, i / 64, qRgb(i % c.visible, 10, 20));
    if (c.transparent) picture.setPixel(63, 7, qRgba(1, 2, 3, 0));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(korvanth::imaging::encode::WriteGif(RowsOver(picture), bytes));
    ASSERT_GT(bytes.size(), 13u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
    const Decoded decoded = DecodeWithGiflib(bytes);
    EXPECT_EQ(decoded.palette.size(), c.tableSize);
    if (c.transparent) {
      ASSERT_EQ(decoded.transparent, c.visible);
      EXPECT_EQ(decoded.indices.back(), c.visible);
    } else {
      EXPECT_EQ(decoded.transparent, -1);
    }
  }
}

TEST(GifWriter, TranslucentPixelsBecomeOpaqueAndOnlyAlphaZeroIsTransparent) {
  QImage picture(4, 1, QImage::Format_ARGB32);
  picture.setPixel(0, 0, qRgba(10, 20, 30, 255));
  picture.setPixel(1, 0, qRgba(10, 20, 30, 1));    // same colour, nearly transparent
  picture.setPixel(2, 0, qRgba(200, 100, 50, 0));  // transparent: its colour is dropped
  picture.setPixel(3, 0, qRgba(0, 0, 0, 0));
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(korvanth::imaging::encode::WriteGif(RowsOver(picture), bytes));
  const Decoded decoded = DecodeWithGiflib(bytes);
  ASSERT_EQ(decoded.indices.size(), 4u);
  EXPECT_EQ(decoded.indices[0], decoded.indices[1]);
  EXPECT_EQ(decoded.palette[decoded.indices[0]], 0x0A141Eu);
  EXPECT_EQ(decoded.indices[2], decoded.transparent);
  EXPECT_EQ(decoded.indices[3], decoded.transparent);
  EXPECT_EQ(decoded.transparent, 1);
}

TEST(GifWriter, RefusesSizesTheScreenCannotHold) {
  std::vector<std::uint32_t> pixels(70000, 0xFF000000u);
  PixelRows rows;
  rows.scan0 = reinterpret_cast<const std::uint8_t*>(pixels.data());
  rows.stride = 70000 * 4;
  rows.width = 70000;
  rows.height = 1;
  std::vector<std::uint8_t> bytes;
  EXPECT_FALSE(korvanth::imaging::encode::WriteGif(rows, bytes));
  rows.width = 0;
  EXPECT_FALSE(korvanth::imaging::encode::WriteGif(rows, bytes));
}

// 65536 distinct colours, counted one by one, and 524288, counted rounded to 6 bits a
// channel: the palette is cut to 256 entries, the same every time, every entry used, and
// each pixel keeps close to its colour; the rounded cut about as close as a cut of every
// colour (which gives a mean of 32.0 on the wider picture).
TEST(GifQuantizer, ManyColoursGiveADeterministicCloseFullPalette) {
  for (const auto& [width, meanError] : {std::pair{256, 30.0}, std::pair{2048, 34.0}}) {
    SCOPED_TRACE(width);
    QImage picture(width, 256, QImage::Format_ARGB32);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < width; ++x)
        picture.setPixel(x, y, qRgb(x % 256, y, (x * 3 + y + x / 256 * 32) % 256));
    korvanth::imaging::encode::IndexedPicture first, second;
    EXPECT_FALSE(korvanth::imaging::encode::ExactPalette(RowsOver(picture), first));
    korvanth::imaging::encode::QuantizedPalette(RowsOver(picture), first);
    korvanth::imaging::encode::QuantizedPalette(RowsOver(picture), second);
    EXPECT_EQ(first.colours, second.colours);
    EXPECT_EQ(first.indices, second.indices);
    ASSERT_EQ(first.colours.size(), 256u);
    EXPECT_EQ(first.transparent, -1);
    EXPECT_EQ(std::set<std::uint8_t>(first.indices.begin(), first.indices.end()).size(), 256u);
    long long total = 0;
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < width; ++x) {
        const QRgb p = picture.pixel(x, y);
        const std::uint32_t q =
            first.colours[first.indices[static_cast<std::size_t>(y) * width + x]];
        const int d = std::abs(qRed(p) - static_cast<int>(q >> 16)) +
                      std::abs(qGreen(p) - static_cast<int>((q >> 8) & 0xFF)) +
                      std::abs(qBlue(p) - static_cast<int>(q & 0xFF));
        total += d;
      }
    EXPECT_LT(static_cast<double>(total) / (256.0 * width), meanError);
  }
}

TEST(GifQuantizer, TwoHundredFiftySixColoursAndTransparencyNeedTheQuantizer) {
  QImage picture(257, 1, QImage::Format_ARGB32);
  for (int x = 0; x < 256; ++x) picture.setPixel(x, 0, qRgb(x, 0, 0));
  picture.setPixel(256, 0, 0u);
  korvanth::imaging::encode::IndexedPicture indexed;
  EXPECT_FALSE(korvanth::imaging::encode::ExactPalette(RowsOver(picture), indexed));
  korvanth::imaging::encode::QuantizedPalette(RowsOver(picture), indexed);
  ASSERT_EQ(indexed.colours.size(), 256u);
  EXPECT_EQ(indexed.transparent, 255);
  EXPECT_EQ(indexed.indices[256], 255);
  // 256 reds into 255 entries: exactly one entry is shared by two neighbours.
  std::set<std::uint8_t> used(indexed.indices.begin(), indexed.indices.end() - 1);
  EXPECT_EQ(used.size(), 255u);
  for (int x = 0; x < 256; ++x)
    EXPECT_LE(std::abs(static_cast<int>(indexed.colours[indexed.indices[x]] >> 16) - x), 1) << x;
}

// The code stream alone, against codes worked out by hand for eight a's and a b over a
// two-bit alphabet: a | aa | aaa | aa | b gives clear(4), 0, 6, 7, 6, 1, end(5); the width
// grows from three bits to four once code 8 has been made, after the fourth code.
TEST(Lzw, ShortStreamMatchesTheCodesWorkedOutByHand) {
  const std::uint8_t indices[] = {0, 0, 0, 0, 0, 0, 0, 0, 1};
  std::vector<std::uint8_t> out;
  korvanth::imaging::encode::LzwCompress(indices, sizeof indices, 2, out);
  std::uint64_t bits = 0;
  int count = 0;
  const std::pair<unsigned, int> codes[] = {{4, 3}, {0, 3}, {6, 3}, {7, 3}, {6, 4}, {1, 4}, {5, 4}};
  for (auto [code, width] : codes) {
    bits |= std::uint64_t{code} << count;
    count += width;
  }
  std::vector<std::uint8_t> expected;
  for (int i = 0; i < count; i += 8) expected.push_back(static_cast<std::uint8_t>(bits >> i));
  EXPECT_EQ(out, expected);
}

}  // namespace
