// The loader's judgement of a file from its header alone: type, size and whether its
// decoding fits the memory bound (the picture's 32-bit pixels at most 1 GiB, the
// decoder's own memory at most one and a half times them plus 28 MiB, and picture and
// decoder together at most 1.5 GiB less 64 MiB, 1,543,503,872 bytes). The expected
// verdicts are worked out by hand in the comments.
#include <gtest/gtest.h>

#include "imaging/imaging_helpers.h"
#include "imaging/picture_header.h"
#include "support/picture_bytes.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

using korvanth::imaging::HeaderVerdict;
using korvanth::imaging::PictureType;

struct HeaderCase {
  const char* name;
  std::string bytes;
  PictureType type;
  HeaderVerdict verdict;
  std::int64_t width;
  std::int64_t height;
};

std::string WithByte(std::string bytes, std::size_t at, char value) {
  bytes.at(at) = value;
  return bytes;
}

// The same little-endian TIFF with its list of bits a sample moved past byte 65535, as
// writers that put it after the pixels do.
std::string WithBitsListFarOn(std::string tiff) {
  const std::size_t entries = 12;  // directory at 10, after its two-byte count
  for (std::size_t at = entries; at + 12 <= tiff.size(); at += 12) {
    if (tiff[at] != 0x02 || tiff[at + 1] != 0x01) continue;  // tag 258
    const std::size_t listAt = 70000;
    const std::string list = tiff.substr(tiff.size() - 6);  // three samples of 8 bits
    for (int k = 0; k < 4; ++k) tiff[at + 8 + k] = static_cast<char>((listAt >> (8 * k)) & 0xFF);
    tiff.resize(listAt, '\0');
    return tiff + list;
  }
  return tiff;
}

const std::vector<std::pair<int, int>> k420{{2, 2}, {1, 1}, {1, 1}};
const std::vector<std::pair<int, int>> k444{{1, 1}, {1, 1}, {1, 1}};
const std::vector<std::pair<int, int>> kCmyk{{1, 1}, {1, 1}, {1, 1}, {1, 1}};

std::vector<HeaderCase> Cases() {
  return {
      // 16384 x 16384 x 4 is exactly 1 GiB; one more row is over.
      {"png at the limit", PngHeaderBytes(16384, 16384, 8, 6), PictureType::Png,
       HeaderVerdict::Fits, 16384, 16384},
      {"png over the limit", PngHeaderBytes(16384, 16385, 8, 6), PictureType::Png,
       HeaderVerdict::TooLarge, 16384, 16385},
      // 16-bit samples are reduced row by row: only a few rows of 8 bytes a pixel.
      {"16-bit png", PngHeaderBytes(16000, 8000, 16, 6), PictureType::Png, HeaderVerdict::Fits,
       16000, 8000},
      {"png without width", PngHeaderBytes(0, 10, 8, 6), PictureType::Png, HeaderVerdict::Damaged,
       0, 10},
      {"png cut in its header", PngHeaderBytes(10, 10, 8, 6).substr(0, 20), PictureType::Png,
       HeaderVerdict::Damaged, 0, 0},
      // Sequential JPEG, all components in one scan: a band of MCU rows only.
      {"baseline jpeg", JpegHeaderBytes(0xC0, 16000, 16000, k420, 3), PictureType::Jpeg,
       HeaderVerdict::Fits, 16000, 16000},
      // Progressive CMYK keeps 4 x 2 bytes of coefficients a pixel: 2 GB.
      {"progressive cmyk jpeg", JpegHeaderBytes(0xC2, 16000, 16000, kCmyk, 1), PictureType::Jpeg,
       HeaderVerdict::TooLarge, 16000, 16000},
      // At 8192 x 8192: 4 x 1024 x 1024 x 128 = 536.9 MB of coefficients against
      // 1.5 x 268.4 MB + 28 MiB = 432.0 MB allowed.
      {"progressive cmyk jpeg 8192", JpegHeaderBytes(0xC2, 8192, 8192, kCmyk, 1), PictureType::Jpeg,
       HeaderVerdict::TooLarge, 8192, 8192},
      // A photo, 4000 x 3000 at 4:4:4: 3 x 500 x 375 x 128 = 72 MB of coefficients
      // against 1.5 x 48 MB + 28 MiB = 101.4 MB.
      {"progressive 4:4:4 jpeg", JpegHeaderBytes(0xC2, 4000, 3000, k444, 1), PictureType::Jpeg,
       HeaderVerdict::Fits, 4000, 3000},
      // 8192 x 8192 at 4:4:4: 402.7 MB of coefficients, 0.6 MB of sample rows and 0.5 MB of
      // output rows, 403.8 MB against 432.0 MB.
      {"progressive 4:4:4 jpeg 8192", JpegHeaderBytes(0xC2, 8192, 8192, k444, 1), PictureType::Jpeg,
       HeaderVerdict::Fits, 8192, 8192},
      {"progressive grey jpeg", JpegHeaderBytes(0xC2, 6000, 6000, {{1, 1}}, 1), PictureType::Jpeg,
       HeaderVerdict::Fits, 6000, 6000},
      // Sequential with one component in the first scan: more scans follow, all buffered.
      {"multi-scan jpeg", JpegHeaderBytes(0xC0, 16000, 16000, k444, 1), PictureType::Jpeg,
       HeaderVerdict::TooLarge, 16000, 16000},
      {"jpeg without a frame", std::string("\xFF\xD8\xFF\xD9", 4), PictureType::Jpeg,
       HeaderVerdict::Damaged, 0, 0},
      // A frame declaring 1,000 bytes, more than 4 components can fill (it once overran a
      // fixed buffer), and one declaring more bytes than the file holds.
      {"jpeg frame longer than its components",
       std::string("\xFF\xD8\xFF\xC0\x03\xE8", 6) + std::string(998, 'A'), PictureType::Jpeg,
       HeaderVerdict::Damaged, 0, 0},
      {"jpeg frame past the end", std::string("\xFF\xD8\xFF\xC0\xFF\xFF\x08\x00\x10", 9),
       PictureType::Jpeg, HeaderVerdict::Damaged, 0, 0},
      // FF 00 is a stuffed zero the decoder skips, not a marker whose length would hide
      // the frame behind it.
      {"jpeg frame after a stuffed zero",
       std::string("\xFF\xD8\xFF\x00", 4) + JpegHeaderBytes(0xC0, 17000, 17000, k420, 3).substr(2),
       PictureType::Jpeg, HeaderVerdict::TooLarge, 17000, 17000},
      {"12-bit jpeg", WithByte(JpegHeaderBytes(0xC1, 64, 64, k444, 3), 6, 12), PictureType::Jpeg,
       HeaderVerdict::Unsupported, 0, 0},
      {"lossless jpeg", JpegHeaderBytes(0xC3, 64, 64, k444, 3), PictureType::Jpeg,
       HeaderVerdict::Unsupported, 0, 0},
      {"gif at the limit", GifHeaderBytes(16384, 16384), PictureType::Gif, HeaderVerdict::Fits,
       16384, 16384},
      {"gif over the limit", GifHeaderBytes(65535, 65535), PictureType::Gif,
       HeaderVerdict::TooLarge, 65535, 65535},
      // A first frame of 30000 x 30000 on a 16 x 16 screen: judged at the frame's size,
      // which GDI+ decodes.
      {"gif frame beyond its screen",
       [] {
         std::string gif = GifHeaderBytes(16, 16);
         return gif.replace(24, 4, "\x30\x75\x30\x75");  // the frame's width and height
       }(),
       PictureType::Gif, HeaderVerdict::TooLarge, 30000, 30000},
      {"gif without a screen", GifHeaderBytes(0, 10), PictureType::Gif, HeaderVerdict::Damaged, 0,
       10},
      {"32-bit bmp at the limit", BmpHeaderBytes(16384, -16384, 32), PictureType::Bmp,
       HeaderVerdict::Fits, 16384, 16384},
      {"32-bit bmp over the limit", BmpHeaderBytes(40000, 40000, 32), PictureType::Bmp,
       HeaderVerdict::TooLarge, 40000, 40000},
      // 8 bits a pixel are unpacked at a byte a pixel first: 256 MB within 256 + 28 MiB.
      {"8-bit bmp", BmpHeaderBytes(16000, 16000, 8), PictureType::Bmp, HeaderVerdict::Fits, 16000,
       16000},
      // 16 bits a pixel at 16000 x 16000: 512 MB beside the picture's 1,024 MB, within
      // the 1,543.5 MB that both may take.
      {"16-bit bmp", BmpHeaderBytes(16000, 16000, 16), PictureType::Bmp, HeaderVerdict::Fits, 16000,
       16000},
      // At 16384 x 16000: 524.3 MB beside 1,048.6 MB passes it.
      {"16-bit bmp past the total", BmpHeaderBytes(16384, 16000, 16), PictureType::Bmp,
       HeaderVerdict::TooLarge, 16384, 16000},
      {"2-bit bmp", BmpHeaderBytes(8, 8, 2), PictureType::Bmp, HeaderVerdict::Unsupported, 0, 0},
      {"bmp of embedded png", WithByte(BmpHeaderBytes(8, 8, 32), 30, 5), PictureType::Bmp,
       HeaderVerdict::Unsupported, 0, 0},
      {"bmp whose header ends early", BmpHeaderBytes(8, 8, 24).substr(0, 24), PictureType::Bmp,
       HeaderVerdict::Damaged, 0, 0},
      {"rgba tiff in strips", TiffHeaderBytes(16000, 16000, 4, 16), PictureType::Tiff,
       HeaderVerdict::Fits, 16000, 16000},
      {"tiff over the limit", TiffHeaderBytes(16384, 16385, 4, 16), PictureType::Tiff,
       HeaderVerdict::TooLarge, 16384, 16385},
      // One tile as large as the picture: 1.024 GB decoded beside the picture.
      {"tiff with a huge tile", TiffHeaderBytes(16000, 16000, 4, 0, 16000, 16000),
       PictureType::Tiff, HeaderVerdict::TooLarge, 16000, 16000},
      {"tiff with small tiles", TiffHeaderBytes(16000, 16000, 4, 0, 256, 256), PictureType::Tiff,
       HeaderVerdict::Fits, 16000, 16000},
      {"grey tiff", TiffHeaderBytes(300, 200, 1, 200), PictureType::Tiff, HeaderVerdict::Fits, 300,
       200},
      {"rgb tiff with its bits listed far on", WithBitsListFarOn(TiffHeaderBytes(300, 200, 3, 200)),
       PictureType::Tiff, HeaderVerdict::Fits, 300, 200},
      {"floating-point tiff", TiffHeaderBytes(30, 20, 1, 20, 0, 0, 32, 3), PictureType::Tiff,
       HeaderVerdict::Unsupported, 0, 0},
      {"signed 8-bit tiff", TiffHeaderBytes(30, 20, 1, 20, 0, 0, 8, 2), PictureType::Tiff,
       HeaderVerdict::Fits, 30, 20},
      // A directory beyond the file's end, and one whose entries run past it.
      {"tiff directory past the end", std::string("II*\0\xFF\0\0\0", 8), PictureType::Tiff,
       HeaderVerdict::Damaged, 0, 0},
      {"tiff entries past the end", TiffHeaderBytes(30, 20, 1, 20).substr(0, 40), PictureType::Tiff,
       HeaderVerdict::Damaged, 0, 0},
  };
}

TEST(PictureHeader, JudgesEveryFormatBySizeAndDecoderMemory) {
  ScratchDir dir;
  for (const HeaderCase& c : Cases()) {
    const std::string path = dir.file("picture");
    WriteBytes(path, c.bytes);
    const auto header = korvanth::imaging::ReadPictureHeaderOfPath(path.c_str());
    EXPECT_TRUE(header.opened) << c.name;
    EXPECT_EQ(header.type, c.type) << c.name;
    EXPECT_EQ(header.verdict, c.verdict) << c.name;
    if (c.width != 0) {
      EXPECT_EQ(header.needs.width, c.width) << c.name;
      EXPECT_EQ(header.needs.height, c.height) << c.name;
    }
  }
}

TEST(PictureHeader, DecodersRefuseWhatTheHeaderJudgesTooLarge) {
  // The decoders judge again with their libraries' own reading of the header, so a
  // caller that goes straight to them is held to the same bound.
  ScratchDir dir;
  for (const HeaderCase& c : Cases()) {
    if (c.verdict != HeaderVerdict::TooLarge) continue;
    const std::string path = dir.file("picture");
    WriteBytes(path, c.bytes);
    ImageHandle bitmap = Load(path);
    EXPECT_EQ(bitmap.lastStatus(), ValueOverflow) << c.name;
    EXPECT_TRUE(bitmap.empty()) << c.name;
  }
}

TEST(PictureHeader, OtherFormatsAreNotRead) {
  ScratchDir dir;
  const std::string others[] = {
      std::string("\0\0\1\0\1\0\x10\x10", 8),          // icon
      std::string("\x8aMNG\r\n\x1a\n", 8),             // MNG
      "P1\n2 2\n0 1 1 0\n",                            // PBM
      "P5\n2 2\n255\n" + std::string(4, 'x'),          // PGM
      "P6\n1 1\n255\nabc",                             // PPM
      "RIFF\x10\0\0\0WEBPVP8 ",                        // WebP
      "#define x_width 8\n#define x_height 1\n",       // XBM
      "/* XPM */\nstatic char *x[] = {\"1 1 1 1\"};",  // XPM
      std::string("\0\0\x08\x01\0", 5),                // WBMP
      std::string("II+\0\x08\0\0\0", 8),               // BigTIFF
      "",
  };
  for (const std::string& bytes : others) {
    const std::string path = dir.file("other");
    WriteBytes(path, bytes);
    const auto header = korvanth::imaging::ReadPictureHeaderOfPath(path.c_str());
    EXPECT_TRUE(header.opened) << bytes;
    EXPECT_EQ(header.type, PictureType::Unknown) << bytes;
    EXPECT_EQ(header.verdict, HeaderVerdict::Unknown) << bytes;
  }
  // What is not a readable regular file is left to the decoder to name.
  EXPECT_FALSE(korvanth::imaging::ReadPictureHeaderOfPath(dir.file("missing").c_str()).opened);
  EXPECT_FALSE(korvanth::imaging::ReadPictureHeaderOfPath(dir.path().string().c_str()).opened);
}

}  // namespace
