// PNG, GIF and JPEG variants written by ImageMagick from known samples, read by the
// decoders. PNG and GIF must give the samples back exactly (ImageMagick widens 8-bit
// samples to 16 bits as v * 257); JPEG must match Qt's own JPEG reader.
#include <gtest/gtest.h>

#include <QImageReader>

#include <string>
#include <vector>

#include "imaging/imaging_helpers.h"
#include "support/imagemagick.h"
#include "support/picture_bytes.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

enum class Input { Rgba, Rgb, Grey, FewColours };

QImage Pattern(Input input, int width, int height) {
  QImage image = PatternImage(width, height, input == Input::Rgba);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const QRgb p = image.pixel(x, y);
      const int grey = (qRed(p) * 3 + qGreen(p) * 7 + x * y) & 0xFF;
      if (input == Input::Grey) image.setPixel(x, y, qRgb(grey, grey, grey));
      if (input == Input::FewColours)
        image.setPixel(x, y, qRgb((x / 9) * 0x2F, (y / 13) * 0x1D, ((x + y) % 3) * 0x55));
    }
  }
  return image;
}

struct Variant {
  const char* name;
  Input input;
  std::vector<std::string> options;
  const char* output;  // ImageMagick's output prefix
  int bitDepth;        // PNG: what the header must say (0: not checked)
  int colourType;
  bool interlaced;
};

QImage LoadedPixels(const std::string& path, const char* name) {
  ImageHandle bitmap = Load(path);
  EXPECT_EQ(bitmap.lastStatus(), Ok) << name;
  return bitmap.lastStatus() == Ok ? PixelsOf(bitmap) : QImage();
}

TEST(DecodeFormats, PngVariantsGiveTheStoredSamples) {
  const std::vector<Variant> variants = {
      {"rgba", Input::Rgba, {}, "PNG32:", 8, 6, false},
      {"rgba interlaced", Input::Rgba, {"-interlace", "PNG"}, "PNG32:", 8, 6, true},
      {"rgba 16-bit", Input::Rgba, {}, "PNG64:", 16, 6, false},
      {"rgba 16-bit interlaced", Input::Rgba, {"-interlace", "PNG"}, "PNG64:", 16, 6, true},
      {"rgb", Input::Rgb, {}, "PNG24:", 8, 2, false},
      {"rgb 16-bit", Input::Rgb, {}, "PNG48:", 16, 2, false},
      {"palette", Input::FewColours, {}, "PNG8:", 0, 3, false},
      {"grey",
       Input::Grey,
       {"-define", "png:color-type=0", "-define", "png:bit-depth=8"},
       "PNG:",
       8,
       0,
       false},
      {"grey 16-bit",
       Input::Grey,
       {"-define", "png:color-type=0", "-define", "png:bit-depth=16"},
       "PNG:",
       16,
       0,
       false},
  };
  ScratchDir dir;
  for (const Variant& v : variants) {
    const QImage expected = Pattern(v.input, 37, 29);
    const std::string path = dir.file("variant.png");
    ASSERT_TRUE(WriteWithImageMagick(expected, v.input == Input::Rgba, dir.file("raw"), v.options,
                                     v.output + path))
        << v.name;
    const std::string bytes = ReadBytes(path);
    ASSERT_GT(bytes.size(), 29u) << v.name;
    if (v.bitDepth != 0) {
      EXPECT_EQ(bytes[24], v.bitDepth) << v.name;
    }
    EXPECT_EQ(bytes[25], v.colourType) << v.name;
    EXPECT_EQ(bytes[28] != 0, v.interlaced) << v.name;
    EXPECT_EQ(FirstDifference(expected, LoadedPixels(path, v.name)), "") << v.name;
  }
}

TEST(DecodeFormats, GifVariantsGiveTheStoredColours) {
  ScratchDir dir;
  const QImage expected = Pattern(Input::FewColours, 41, 33);
  for (const bool interlaced : {false, true}) {
    const std::string path = dir.file("variant.gif");
    std::vector<std::string> options;
    if (interlaced) options = {"-interlace", "GIF"};
    ASSERT_TRUE(WriteWithImageMagick(expected, false, dir.file("raw"), options, "GIF:" + path));
    EXPECT_EQ(FirstDifference(expected, LoadedPixels(path, "gif")), "") << interlaced;
  }
  // A 1 x 1 frame of colour 0 (black) at the corner of a 6 x 4 screen: the rest of the
  // screen is transparent.
  const std::string path = dir.file("screen.gif");
  WriteBytes(path, GifHeaderBytes(6, 4));
  QImage screen(6, 4, QImage::Format_ARGB32);
  screen.fill(0u);
  screen.setPixel(0, 0, 0xFF000000u);
  EXPECT_EQ(FirstDifference(screen, LoadedPixels(path, "screen")), "");
}

TEST(DecodeFormats, JpegVariantsMatchQtsReader) {
  const std::vector<Variant> variants = {
      {"4:2:0", Input::Rgb, {"-sampling-factor", "2x2", "-quality", "90"}, "JPEG:", 0, 0, false},
      {"4:4:4", Input::Rgb, {"-sampling-factor", "1x1", "-quality", "90"}, "JPEG:", 0, 0, false},
      {"progressive",
       Input::Rgb,
       {"-interlace", "JPEG", "-sampling-factor", "2x2"},
       "JPEG:",
       0,
       0,
       true},
      {"grey", Input::Grey, {"-colorspace", "Gray"}, "JPEG:", 0, 0, false},
      {"cmyk", Input::Rgb, {"-colorspace", "CMYK"}, "JPEG:", 0, 0, false},
  };
  ScratchDir dir;
  for (const Variant& v : variants) {
    const std::string path = dir.file("variant.jpg");
    ASSERT_TRUE(WriteWithImageMagick(Pattern(v.input, 45, 31), false, dir.file("raw"), v.options,
                                     v.output + path))
        << v.name;
    QImageReader reader(QString::fromStdString(path), "jpeg");
    reader.setAutoTransform(false);
    const QImage expected = reader.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(expected.isNull()) << v.name;
    EXPECT_EQ(FirstDifference(expected, LoadedPixels(path, v.name)), "") << v.name;
  }
}

}  // namespace
