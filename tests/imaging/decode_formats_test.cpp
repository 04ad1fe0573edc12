// PNG, GIF and JPEG variants written by ImageMagick from known samples, read by the
// decoders. PNG and GIF must give the samples back exactly (ImageMagick widens 8-bit
// samples to 16 bits as v * 257); JPEG must match Qt's own JPEG reader. Compressed data
// that is damaged makes a damaged picture before any decoder sees it.
#include <gtest/gtest.h>

#include <QImageReader>

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/imaging_helpers.h"
#include "imaging/picture_header.h"
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

// ---- Damaged data: cases built from the formats' layouts and the fuzz seeds ----------

std::string Seed(const std::string& name) {
  const std::string folder = name.substr(0, name.find('-'));
  return ReadBytes(std::string(KORVANTH_SOURCE_DIR) + "/tests/fuzz/seeds/" + folder + "/" + name);
}

// Where each scan's entropy-coded data lies in a JPEG: [first, end) up to the marker
// that ends it (restart markers lie inside).
std::vector<std::pair<std::size_t, std::size_t>> JpegScanData(const std::string& jpeg) {
  std::vector<std::pair<std::size_t, std::size_t>> scans;
  auto byte = [&](std::size_t at) { return static_cast<unsigned char>(jpeg.at(at)); };
  for (std::size_t at = 2; at + 4 <= jpeg.size() && byte(at + 1) != 0xD9;) {
    const std::size_t next = at + 2 + (std::size_t{byte(at + 2)} << 8 | byte(at + 3));
    if (byte(at + 1) != 0xDA) {
      at = next;
      continue;
    }
    std::size_t end = next;
    while (!(byte(end) == 0xFF && byte(end + 1) != 0 && (byte(end + 1) & 0xF8) != 0xD0)) ++end;
    scans.emplace_back(next, end);
    at = end;
  }
  return scans;
}

// The JPEG without the Huffman tables defined before its first scan.
std::string WithoutFirstTables(const std::string& jpeg) {
  std::string kept = jpeg.substr(0, 2);
  for (std::size_t at = 2; at + 4 <= jpeg.size();) {
    const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
    if (marker == 0xDA) return kept + jpeg.substr(at);
    const std::size_t length =
        static_cast<unsigned char>(jpeg[at + 2]) << 8 | static_cast<unsigned char>(jpeg[at + 3]);
    if (marker != 0xC4) kept += jpeg.substr(at, 2 + length);
    at += 2 + length;
  }
  return kept;
}

// A 3 x 1 GIF of two colours whose frames hold the given LZW codes (code size 2: clear 4,
// end 5), each code written at its width in bits, least significant bit first.
using Codes = std::vector<std::pair<int, int>>;
std::string TinyGif(const std::vector<Codes>& frames, bool trailer = true) {
  std::string gif = "GIF89a" + Le16(3) + Le16(1) + std::string("\x80\0\0\0\0\0\xff\xff\xff", 9);
  for (const Codes& codes : frames) {
    std::string data;
    std::uint32_t bits = 0;
    int held = 0;
    for (const auto& [code, width] : codes) {
      bits |= static_cast<std::uint32_t>(code) << held;
      for (held += width; held >= 8; held -= 8, bits >>= 8) data += static_cast<char>(bits & 0xFF);
    }
    if (held > 0) data += static_cast<char>(bits & 0xFF);
    gif += "\x2c" + Le16(0) + Le16(0) + Le16(3) + Le16(1) + std::string("\0\x02", 2) +
           static_cast<char>(data.size()) + data + std::string(1, '\0');
  }
  return trailer ? gif + "\x3b" : gif;
}

// The frame's three pixels 0, 1, 0; the second code after the clear code widens the table
// to code 8, so the end code is read at four bits.
const Codes kWholeFrame = {{4, 3}, {0, 3}, {1, 3}, {0, 3}, {5, 4}};

struct DataCase {
  std::string name;
  std::string bytes;
  bool damaged;
};

std::vector<DataCase> DataCases() {
  std::vector<DataCase> all;
  // Every seed is whole (TIFF and plain BMP data is left to the decoders).
  const std::string seeds = std::string(KORVANTH_SOURCE_DIR) + "/tests/fuzz/seeds";
  for (const auto& folder : std::filesystem::directory_iterator(seeds))
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      all.push_back({entry.path().filename().string(), ReadBytes(entry.path().string()), false});

  // GIF: every frame is read to the trailer, as the Windows decoder reads them.
  all.push_back({"gif of two whole frames", TinyGif({kWholeFrame, kWholeFrame}), false});
  all.push_back({"gif whose code is the one about to be made (0, then 0 0)",
                 TinyGif({{{4, 3}, {0, 3}, {6, 3}, {5, 3}}}), false});
  all.push_back({"gif without its trailer", TinyGif({kWholeFrame}, false), true});
  all.push_back({"gif whose second frame holds a code not in its table",
                 TinyGif({kWholeFrame, {{4, 3}, {0, 3}, {7, 3}, {5, 3}}}), true});
  all.push_back({"gif whose second frame ends before its last pixel",
                 TinyGif({kWholeFrame, {{4, 3}, {0, 3}}}), true});
  all.push_back({"gif whose end code comes before its last pixel",
                 TinyGif({{{4, 3}, {0, 3}, {5, 3}}}), true});
  // 256 colours in no order: giflib's codes widen to 12 bits and the table fills and is
  // cleared many times over.
  std::vector<unsigned char> noise(300 * 200);
  for (std::size_t i = 0; i < noise.size(); ++i)
    noise[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);
  const std::string full = GifBytes(300, 200, {}, noise, -1);
  all.push_back({"gif whose table fills again and again", full, false});
  all.push_back(
      {"gif whose table fills, without its trailer", full.substr(0, full.size() - 1), true});
  std::string wideCodes = TinyGif({kWholeFrame});
  wideCodes[29] = 9;  // the frame's code size: giflib reads no more than 8
  all.push_back({"gif of 9-bit code size", wideCodes, true});

  // JPEG: every scan decodes to its last block, and the file ends with EOI.
  const std::string progressive = Seed("jpeg-progressive-420.jpg");
  const auto scans = JpegScanData(progressive);
  const auto [dataStart, dataEnd] = scans.at(scans.size() / 2);
  all.push_back(
      {"progressive jpeg without EOI", progressive.substr(0, progressive.size() - 2), true});
  all.push_back({"progressive jpeg whose scan has no data",
                 progressive.substr(0, dataStart) + progressive.substr(dataEnd), true});
  // Sixteen one bits are no Huffman code: the all-ones code of any length is reserved.
  std::string allOnes = progressive;
  allOnes.replace(dataStart, 3, std::string("\xff\0\xff\0\xff\0", 6));
  all.push_back({"progressive jpeg whose scan starts with no code", allOnes, true});
  all.push_back({"progressive jpeg with bytes left over before EOI",
                 progressive.substr(0, progressive.size() - 2) + "\x01\x02\xff\xd9", false});
  // Motion-JPEG frames leave out the standard tables (JPEG Annex K.3); libjpeg supplies
  // them to a sequential picture only.
  ScratchDir dir;
  const std::string standardTables = dir.file("standard.jpg");
  EXPECT_TRUE(WriteWithImageMagick(Pattern(Input::Rgb, 45, 31), false, dir.file("raw"),
                                   {"-define", "jpeg:optimize-coding=false"},
                                   "JPEG:" + standardTables));
  all.push_back({"sequential jpeg without its tables, which are the standard ones",
                 WithoutFirstTables(ReadBytes(standardTables)), false});
  all.push_back(
      {"progressive jpeg without its first tables", WithoutFirstTables(progressive), true});
  // Odd sizes leave partial MCUs at the right and the bottom.
  for (const char* sampling : {"2x2", "2x1", "1x2"}) {
    const std::string path = dir.file(std::string("progressive-") + sampling + ".jpg");
    EXPECT_TRUE(WriteWithImageMagick(Pattern(Input::Rgb, 75, 41), false, dir.file("raw"),
                                     {"-interlace", "JPEG", "-sampling-factor", sampling},
                                     "JPEG:" + path));
    all.push_back(
        {std::string("progressive jpeg of odd size at ") + sampling, ReadBytes(path), false});
  }
  std::string restartsSwapped = Seed("jpeg-restart.jpg");
  const std::size_t firstRestart = restartsSwapped.find("\xff\xd0");
  const std::size_t secondRestart = restartsSwapped.find("\xff\xd1");
  std::swap(restartsSwapped.at(firstRestart + 1), restartsSwapped.at(secondRestart + 1));
  all.push_back({"jpeg whose restart markers are out of turn", restartsSwapped, true});
  std::string shortTable = Seed("jpeg-baseline-444.jpg");
  const std::size_t table = shortTable.find("\xff\xdb");
  shortTable.replace(table + 2, 2, std::string("\0\x03", 2));  // one byte: no whole table
  all.push_back({"jpeg whose quantization table is one byte", shortTable, true});
  const std::string arithmetic = Seed("jpeg-arithmetic.jpg");
  all.push_back({"arithmetic jpeg without EOI", arithmetic.substr(0, arithmetic.size() - 2), true});

  // PNG: every chunk to IEND, with its CRC right (Wine's libpng ignores CRCs).
  const std::string png = Seed("png-rgba.png");
  std::string wrongCrc = png;
  wrongCrc[wrongCrc.size() - 13] ^= 1;  // the last byte of the IDAT's CRC
  all.push_back({"png whose image data's CRC is wrong", wrongCrc, true});
  std::string note = WithChunkAfterHeader(png, "tEXt", std::string("note\0hello", 10));
  note[33 + 12 + 10 - 1] ^= 0x40;  // the last byte of the note's CRC
  all.push_back({"png whose note's CRC is wrong", note, true});
  all.push_back({"png without IEND", png.substr(0, png.size() - 12), true});
  all.push_back({"png with bytes after IEND", png + "trailing", false});
  // A chunk longer than the pieces it is checked in.
  std::string longNote =
      WithChunkAfterHeader(png, "tEXt", "note" + std::string(1, '\0') + std::string(150000, 'x'));
  all.push_back({"png with a 150 KB note", longNote, false});
  longNote[33 + 8 + 100000] ^= 1;
  all.push_back({"png with a 150 KB note changed after its CRC was taken", longNote, true});

  // RLE BMP: the runs end themselves before the file does (decode_bmp_variants_test).
  const std::string rle = Seed("bmp-rle8.bmp");
  all.push_back({"rle8 bmp cut before its end of picture", rle.substr(0, rle.size() - 2), true});
  return all;
}

TEST(DecodeFormats, DamagedDataIsDamagedBeforeAnyDecoder) {
  ScratchDir dir;
  for (const DataCase& c : DataCases()) {
    const std::string path = dir.file("picture");
    WriteBytes(path, c.bytes);
    EXPECT_EQ(imaging::JudgePictureOfNames(path.c_str(), nullptr).verdict,
              c.damaged ? imaging::HeaderVerdict::Damaged : imaging::HeaderVerdict::Fits)
        << c.name;
  }
}

}  // namespace
