// Loading pictures into the real window, bad and hostile files included: every one
// gives a clear outcome (the picture that was open stays, or none) and never a crash.
#include <QBuffer>
#include <QImageWriter>

#include <filesystem>
#include <string>

#include "app/window_state.h"
#include "app/sheet_saving.h"
#include "gui_support/main_window_fixture.h"
#include "viewer/scroll_state.h"

using namespace korvanth;

namespace {

std::string PngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes.toStdString();
}

std::uint32_t Crc32(const std::string& data) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : data) {
    crc ^= byte;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

std::string BigEndian(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

// A well-formed PNG header that declares a picture far too large to hold.
std::string HugePngHeader(std::uint32_t width, std::uint32_t height) {
  const std::string body =
      "IHDR" + BigEndian(width) + BigEndian(height) + std::string("\x08\x06\x00\x00\x00", 5);
  return std::string("\x89PNG\r\n\x1a\n", 8) + BigEndian(13) + body + BigEndian(Crc32(body)) +
         BigEndian(10) + "IDAT" + std::string(10, '\0') + BigEndian(0);
}

class PictureLoadingTest : public MainWindowFixture {
 protected:
  // A failed load with no picture open leaves none: nothing to paint, nothing to save.
  void ExpectNoPicture(const std::string& what) {
    EXPECT_FALSE(MainWindowState.picture.exists()) << what;
    EXPECT_EQ(MainWindowState.picture.width, 0) << what;
    EXPECT_EQ(MainWindowState.picture.path, "") << what;
    Paint();
  }
};

TEST_F(PictureLoadingTest, GoodPictureSetsSizeAndRanges) {
  Load(SavePicture(Solid(600, 700, 0xFF112233), "big.png"));
  EXPECT_EQ(MainWindowState.picture.width, 600);
  EXPECT_EQ(MainWindowState.picture.height, 700);
  EXPECT_EQ(MainWindowState.view.horizontal.info.nMax, 599);
  EXPECT_EQ(MainWindowState.view.vertical.info.nMax, 699);
  EXPECT_EQ(MainWindowState.picture.image->lastStatus(), Ok);
  // Loading the same file again reopens it.
  Load(dir_.file("big.png"));
  EXPECT_EQ(MainWindowState.picture.width, 600);
}

TEST_F(PictureLoadingTest, BrokenFilesKeepThePictureThatWasOpen) {
  const std::string good = PngBytes(PatternImage(64, 64));
  WriteBytes(dir_.file("truncated.png"), good.substr(0, good.size() / 2));
  std::string corrupt = good;
  for (size_t i = 40; i < corrupt.size(); i += 7) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
  WriteBytes(dir_.file("corrupt.png"), corrupt);
  WriteBytes(dir_.file("empty.png"), "");
  WriteBytes(dir_.file("text.bmp"), "BM this is not a bitmap");
  std::filesystem::create_directory(dir_.path() / "folder.png");
  const std::string previous = SavePicture(Solid(96, 64, 0xFF00FF00), "previous.png");
  for (const std::string name :
       {"truncated.png", "corrupt.png", "empty.png", "text.bmp", "folder.png", "missing.png"}) {
    Load(previous);
    ASSERT_EQ(MainWindowState.picture.width, 96);
    const QImage before = Paint();
    EXPECT_NE(Load(dir_.file(name)), QString()) << name;  // the box says why
    EXPECT_EQ(MainWindowState.picture.path, previous) << name;
    EXPECT_EQ(MainWindowState.picture.width, 96) << name;
    EXPECT_EQ(MainWindowState.picture.height, 64) << name;
    EXPECT_EQ(MainWindowState.view.horizontal.info.nMax, 95) << name;
    InvalidateRect(window(), nullptr, FALSE);
    EXPECT_EQ(Paint(), before) << name;
  }
}

TEST_F(PictureLoadingTest, HugeDeclaredSizeIsRefusedWithoutAllocating) {
  WriteBytes(dir_.file("huge.png"), HugePngHeader(100000, 100000));
  Load(dir_.file("huge.png"));
  ExpectNoPicture("huge");
  WriteBytes(dir_.file("wide.png"), HugePngHeader(0x7FFFFFFF, 1));
  Load(dir_.file("wide.png"));
  ExpectNoPicture("wide");
}

TEST_F(PictureLoadingTest, JapaneseAndOverlongPaths) {
  // 259 bytes fit the path buffer; anything longer is refused, never cut.
  const std::string overlong = dir_.file(std::string(400, 'a') + ".png");
  Load(overlong);
  ExpectNoPicture("overlong");
  const std::string japaneseLong =
      dir_.file(std::string(90, 'x') +
                "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよ.png");
  Load(japaneseLong);
  ExpectNoPicture("long japanese");

  Load(SavePicture(Solid(96, 64, 0xFF445566), "地形タイル.png"));
  EXPECT_EQ(MainWindowState.picture.width, 96);
  EXPECT_EQ(MainWindowState.picture.height, 64);
}

TEST_F(PictureLoadingTest, DecodersForEveryOpenFileType) {
  const QImage picture = PatternImage(40, 30, false);
  const std::pair<const char*, const char*> files[] = {
      {"p.bmp", "BMP"},  {"p.dib", "BMP"},   {"p.rle", "BMP"}, {"p.png", "PNG"},
      {"p.tif", "TIFF"}, {"p.tiff", "TIFF"}, {"p.jpg", "JPEG"}};
  for (const auto& [name, format] : files) {
    const std::string path = dir_.file(name);
    QImageWriter writer(QString::fromStdString(path), format);
    ASSERT_TRUE(writer.write(picture)) << name;
    Load(path);
    EXPECT_EQ(MainWindowState.picture.width, 40) << name;
    EXPECT_EQ(MainWindowState.picture.height, 30) << name;
  }
  // Qt writes no GIF: the sheet encoder writes one, and the loader reads it back.
  ASSERT_TRUE(ExportSheet(MainWindowState, window(), dir_.file("sheet.gif").c_str()));
  Load(dir_.file("sheet.gif"));
  EXPECT_EQ(MainWindowState.picture.width, 128);
  EXPECT_EQ(MainWindowState.picture.height, 320);
}

}  // namespace
