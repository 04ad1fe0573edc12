// What the converter says about pictures it cannot load, and what loading costs: each
// failure is exactly one line of its own on standard error (no library's messages), an
// oversized picture is refused before it is decoded, and an accepted one stays within
// 2.5 times its 32-bit pixels plus 64 MiB.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/child_run.h"
#include "support/imagemagick.h"
#include "support/picture_bytes.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

constexpr long kMiB = 1024;  // in KiB, the unit of ru_maxrss

std::string Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  EXPECT_TRUE(writer.write(image)) << format;
  return bytes.toStdString();
}

std::string OneLine(const std::string& path, const std::string& reason) {
  return "korvanth-convert: " + path + ": " + reason + "\n";
}

const std::string kTooLarge =
    "the picture is too large to load (it would need more memory than allowed)";
const std::string kDamaged = "the picture is damaged or cut short";
const std::string kNotRead = "not a picture in a format Korvanth reads (BMP, GIF, PNG, TIFF, JPEG)";

struct NamedBytes {
  std::string name;
  std::string bytes;
};

// Each file, written under its name, is refused with exactly the one line `reason` and no
// sheet; where memory is measurable, the run stays under `peakLimitKiB` (0: not held).
void ExpectRefused(const std::vector<NamedBytes>& files, const std::string& reason,
                   long peakLimitKiB = 0) {
  ScratchDir dir;
  for (const NamedBytes& f : files) {
    const std::string path = dir.file(f.name);
    WriteBytes(path, f.bytes);
    const ChildRun run = RunChild({path, dir.file("sheet.png")});
    EXPECT_EQ(run.exitCode, 1) << f.name;
    EXPECT_EQ(run.err, OneLine(path, reason)) << f.name;
    EXPECT_FALSE(fs::exists(dir.file("sheet.png"))) << f.name;
    if (kMemoryMeasurable && peakLimitKiB > 0) {
      EXPECT_LT(run.peakKiB, peakLimitKiB) << f.name;
    }
  }
}

TEST(ConverterLoading, OversizedPicturesOfEveryFormatAreRefusedBeforeDecoding) {
  const std::vector<std::pair<int, int>> cmyk{{1, 1}, {1, 1}, {1, 1}, {1, 1}};
  const std::vector<std::pair<int, int>> ycc{{2, 2}, {1, 1}, {1, 1}};
  const std::vector<NamedBytes> files = {
      {"huge.png", PngHeaderBytes(100000, 100000, 8, 6)},
      {"sixteen-bit.png", PngHeaderBytes(16384, 16385, 16, 6)},
      {"progressive-cmyk.jpg", JpegHeaderBytes(0xC2, 16000, 16000, cmyk, 1)},
      {"progressive.jpg", JpegHeaderBytes(0xC2, 16000, 16000, ycc, 1)},
      {"strips.tif", TiffHeaderBytes(16384, 16385, 4, 16)},
      {"one-tile.tif", TiffHeaderBytes(16000, 16000, 4, 0, 16000, 16000)},
      {"huge.bmp", BmpHeaderBytes(40000, 40000, 32)},
      {"sixteen-bit.bmp", BmpHeaderBytes(16384, 16000, 16)},
      {"huge.gif", GifHeaderBytes(65535, 65535)},
  };
  ExpectRefused(files, kTooLarge, 64 * kMiB);
}

TEST(ConverterLoading, LargePicturesLoadWithinTheirBound) {
  // A 16-bit PNG (8 bytes a pixel as stored) and a GIF whose one small frame sits in a
  // large screen: both decode straight into the 32-bit picture. A photo-sized
  // progressive 4:4:4 JPEG keeps 6 bytes of coefficients a pixel beside it.
  ScratchDir dir;
  QImage deep(4096, 2048, QImage::Format_RGBA64);
  deep.fill(QColor::fromRgba64(0x1234, 0x5678, 0x9ABC, 0xFFFF));
  ASSERT_TRUE(WriteWithImageMagick(PatternImage(4000, 3000, false), false, dir.file("raw"),
                                   {"-interlace", "JPEG", "-sampling-factor", "1x1"},
                                   dir.file("photo.jpg")));
  const NamedBytes files[] = {
      {"deep.png", Encoded(deep, "png")},
      {"screen.gif", GifHeaderBytes(8192, 4096)},
      {"photo.jpg", ReadBytes(dir.file("photo.jpg"))},
  };
  deep = QImage();
  const std::int64_t pictureKiB[] = {4096 * 2048 * 4 / 1024, 8192 * 4096 * 4 / 1024,
                                     4000 * 3000 * 4 / 1024};
  for (std::size_t i = 0; i < std::size(files); ++i) {
    const std::string path = dir.file(files[i].name);
    WriteBytes(path, files[i].bytes);
    const ChildRun run = RunChild({path, dir.file("sheet.png")});
    EXPECT_EQ(run.exitCode, 0) << files[i].name << run.err;
    EXPECT_TRUE(fs::exists(dir.file("sheet.png"))) << files[i].name;
    fs::remove(dir.file("sheet.png"));
    if (kMemoryMeasurable) {
      EXPECT_LE(run.peakKiB, pictureKiB[i] * 5 / 2 + 64 * kMiB) << files[i].name;
    }
  }
}

TEST(ConverterLoading, DamagedFilesOfEveryTypeAreOneLineSayingSo) {
  const QImage pattern = PatternImage(96, 64, true);
  const std::string png = Encoded(pattern, "png");
  const std::string jpeg = Encoded(pattern, "jpeg");
  QByteArray progressiveBytes;
  QBuffer progressiveBuffer(&progressiveBytes);
  progressiveBuffer.open(QIODevice::WriteOnly);
  QImageWriter progressiveWriter(&progressiveBuffer, "jpeg");
  progressiveWriter.setProgressiveScanWrite(true);
  ASSERT_TRUE(progressiveWriter.write(pattern));
  const std::string progressive = progressiveBytes.toStdString();
  const std::string bmp = Encoded(pattern, "bmp");
  const std::string tiff = Encoded(pattern, "tiff");
  const std::string gif = GifHeaderBytes(64, 96);
  std::string badCrc = png;
  badCrc[40] = static_cast<char>(badCrc[40] ^ 0x55);
  const std::vector<NamedBytes> files = {
      {"half.png", png.substr(0, png.size() / 2)},
      {"checksum.png", badCrc},
      {"header.png", png.substr(0, 20)},
      {"half.jpg", jpeg.substr(0, jpeg.size() / 2)},
      {"header.jpg", jpeg.substr(0, 30)},
      {"half-progressive.jpg", progressive.substr(0, progressive.size() / 2)},
      {"half.bmp", bmp.substr(0, bmp.size() / 2)},
      {"header.bmp", bmp.substr(0, 20)},
      {"half.tif", tiff.substr(0, tiff.size() / 2)},
      {"header.tif", tiff.substr(0, 6)},
      {"frame.gif", gif.substr(0, gif.size() - 6)},
      {"header.gif", gif.substr(0, 8)},
  };
  ExpectRefused(files, kDamaged);
}

TEST(ConverterLoading, ValidPicturesOfKindsThatAreNotReadAreNamed) {
  const NamedBytes files[] = {
      {"two-bit.bmp", BmpHeaderBytes(64, 64, 2)},
      {"float.tif", TiffHeaderBytes(64, 64, 1, 64, 0, 0, 32, 3)},
  };
  ScratchDir dir;
  for (const NamedBytes& f : files) {
    const std::string path = dir.file(f.name);
    WriteBytes(path, f.bytes);
    const ChildRun run = RunChild({path, dir.file("sheet.png")});
    EXPECT_EQ(run.exitCode, 1) << f.name;
    const std::string kind = f.name[0] == 't' ? "BMP" : "TIFF";
    const std::string start = "korvanth-convert: " + path + ": an unsupported kind of " + kind;
    EXPECT_EQ(run.err.substr(0, start.size()), start) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  }
}

TEST(ConverterLoading, OtherPictureFormatsAreNotRead) {
  // Each named as a picture type that is read: only the content decides.
  const QImage pattern = PatternImage(32, 32, true);
  std::vector<NamedBytes> files;
  for (const std::string format : {"ico", "cur", "pbm", "pgm", "ppm", "xbm", "xpm", "webp", "wbmp"})
    files.push_back({format + ".png", Encoded(pattern, format.c_str())});
  files.push_back({"mng.png", std::string("\x8aMNG\r\n\x1a\n", 8) + std::string(40, '\0')});
  files.push_back({"bigtiff.png", std::string("II+\0\x08\0\0\0", 8) + std::string(40, '\0')});
  ExpectRefused(files, kNotRead);
}

TEST(ConverterLoading, FolderWithoutSearchPermissionIsNotAMissingFile) {
  // Permissions do not bind the superuser: the converter then runs as "nobody".
  std::vector<std::string> prefix;
  if (::geteuid() == 0) {
    if (::access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "setpriv is not installed";
    prefix = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
  }
  ScratchDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  fs::create_directory(dir.path() / "locked");
  const std::string inside = (dir.path() / "locked" / "tiles.png").string();
  WriteBytes(inside, Encoded(PatternImage(64, 96), "png"));
  ASSERT_EQ(::chmod((dir.path() / "locked").c_str(), 0600), 0);
  const std::string output = dir.file("sheet.png");

  const ChildRun locked = RunChild({inside, output}, prefix);
  EXPECT_EQ(locked.exitCode, 1);
  EXPECT_EQ(locked.err, OneLine(inside, "permission denied"));
  const std::string missing = dir.file("missing.png");
  const ChildRun absent = RunChild({missing, output}, prefix);
  EXPECT_EQ(absent.exitCode, 1);
  EXPECT_EQ(absent.err, OneLine(missing, "no such file"));
  ::chmod((dir.path() / "locked").c_str(), 0700);
}

}  // namespace
