// Failed saves leave nothing and keep the old file; unknown encoders refused, Japanese names.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "imaging/imaging_helpers.h"
#include "support/test_files.h"

using namespace korvanth;

namespace fs = std::filesystem;

namespace {

TEST(SaveAtomically, IntoAMissingFolderFailsAndLeavesNothing) {
  ScratchDir dir;
  ImageHandle sheet = ImageHandle::FromScan0(8, 8, PixelFormat32bppARGB);
  EXPECT_EQ(SaveAs(sheet, dir.file("missing/sheet.png"), u"image/png"), Win32Error);
  EXPECT_TRUE(FileNamesIn(dir.path()).empty());
}

TEST(SaveAtomically, OntoAFolderOrAnEmptyPathFails) {
  ScratchDir dir;
  fs::create_directory(dir.path() / "sheet.png");
  WriteBytes(dir.file("sheet.png/inside.txt"), "keep");
  ImageHandle sheet = ImageHandle::FromScan0(8, 8, PixelFormat32bppARGB);
  for (const char16_t* mime : {u"image/png", u"image/bmp", u"image/gif"}) {
    const GpStatus status = SaveAs(sheet, dir.file("sheet.png"), mime);
    EXPECT_NE(status, Ok);
    EXPECT_TRUE(status == Win32Error || status == AccessDenied) << status;
  }
  EXPECT_TRUE(fs::is_directory(dir.path() / "sheet.png"));
  EXPECT_EQ(ReadBytes(dir.file("sheet.png/inside.txt")), "keep");
  EXPECT_EQ(FileNamesIn(dir.path()), std::set<std::string>{"sheet.png"});
  const CLSID png = EncoderFor(u"image/png");
  EXPECT_EQ(GdipSaveImageToFile(sheet.image(), u"", &png, nullptr), Win32Error);
}

TEST(SaveAtomically, AFailedSaveKeepsTheOldFile) {
  ScratchDir dir;
  WriteBytes(dir.file("sheet.gif"), "old bytes");
  WriteBytes(dir.file("sheet.tif"), "old tiff");
  // GIF cannot hold a picture 70000 pixels wide: the encoder fails before any write.
  ImageHandle wide = ImageHandle::FromScan0(70000, 1, PixelFormat32bppARGB);
  ASSERT_EQ(wide.lastStatus(), Ok);
  EXPECT_EQ(SaveAs(wide, dir.file("sheet.gif"), u"image/gif"), GenericError);
  EXPECT_EQ(ReadBytes(dir.file("sheet.gif")), "old bytes");
  EXPECT_EQ(FileNamesIn(dir.path()), (std::set<std::string>{"sheet.gif", "sheet.tif"}));
  // A successful save replaces it whole.
  ImageHandle sheet = BitmapFrom(PatternImage(8, 8));
  ASSERT_EQ(SaveAs(sheet, dir.file("sheet.tif"), u"image/tiff"), Ok);
  EXPECT_EQ(ReadBack(dir.file("sheet.tif")).size(), QSize(8, 8));
  EXPECT_EQ(FileNamesIn(dir.path()), (std::set<std::string>{"sheet.gif", "sheet.tif"}));
}

TEST(SaveAtomically, ReadOnlyFolderGivesAccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  ScratchDir dir;
  fs::create_directory(dir.path() / "locked");
  WriteBytes(dir.file("locked/sheet.png"), "old");
  fs::permissions(dir.path() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  ImageHandle sheet = ImageHandle::FromScan0(8, 8, PixelFormat32bppARGB);
  EXPECT_EQ(SaveAs(sheet, dir.file("locked/sheet.png"), u"image/png"), AccessDenied);
  EXPECT_EQ(ReadBytes(dir.file("locked/sheet.png")), "old");
  fs::permissions(dir.path() / "locked", fs::perms::owner_all);
}

TEST(SaveImage, RefusesUnknownEncodersAndLockedBitmaps) {
  ScratchDir dir;
  ImageHandle sheet = ImageHandle::FromScan0(8, 8, PixelFormat32bppARGB);
  CLSID unknown = EncoderFor(u"image/png");
  unknown.Data1 = 0x557CF407;
  const std::u16string path = Wide(dir.file("x.png"));
  EXPECT_EQ(GdipSaveImageToFile(sheet.image(), path.c_str(), &unknown, nullptr),
            UnknownImageFormat);
  EXPECT_EQ(GdipSaveImageToFile(sheet.image(), path.c_str(), nullptr, nullptr), InvalidParameter);
  const CLSID png = EncoderFor(u"image/png");
  EXPECT_EQ(GdipSaveImageToFile(sheet.image(), nullptr, &png, nullptr), InvalidParameter);
  BitmapData data{};
  ASSERT_EQ(
      GdipBitmapLockBits(sheet.bitmap(), nullptr, ImageLockModeRead, PixelFormat24bppRGB, &data),
      Ok);
  EXPECT_EQ(GdipSaveImageToFile(sheet.image(), path.c_str(), &png, nullptr), WrongState);
  GdipBitmapUnlockBits(sheet.bitmap(), &data);
  EXPECT_TRUE(FileNamesIn(dir.path()).empty());
  EXPECT_EQ(GdipSaveImageToFile(sheet.image(), path.c_str(), &png, nullptr), Ok);
}

TEST(SaveImage, WritesJapaneseFileNames) {
  ScratchDir dir;
  ImageHandle sheet = BitmapFrom(PatternImage(16, 16));
  const std::string path = dir.file("タイルシート.png");
  ASSERT_EQ(SaveAs(sheet, path, u"image/png"), Ok);
  EXPECT_EQ(FirstDifference(PatternImage(16, 16), ReadBack(path)), "");
}

}  // namespace
