// The dialog half's pure parts: filter lists, text copies and the returned path.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/linux/dialogs_internal.h"

using korvanth::platform::CopyTextOut;
using korvanth::platform::ParseFilterList;
using korvanth::platform::QtNameFilter;
using korvanth::platform::StorePickedPath;

namespace {

TEST(DialogFilterList, ReadsPairsUntilTheEmptyString) {
  const char list[] =
      "PNG (*.png)\0*.png\0ビットマップ (*.bmp; dib)\0*.bmp;*.dib\0すべて (*.*)\0*.*\0";
  const auto filters = ParseFilterList(list);
  ASSERT_EQ(filters.size(), 3u);
  EXPECT_EQ(filters[0].description, QStringLiteral("PNG (*.png)"));
  EXPECT_EQ(filters[0].patterns, QStringList{QStringLiteral("*.png")});
  EXPECT_EQ(filters[1].description, QStringLiteral("ビットマップ (*.bmp; dib)"));
  EXPECT_EQ(filters[1].patterns, (QStringList{QStringLiteral("*.bmp"), QStringLiteral("*.dib")}));
  // "*.*" is every file, those without a dot included.
  EXPECT_EQ(filters[2].patterns, QStringList{QStringLiteral("*")});
  EXPECT_EQ(QtNameFilter(filters[1]), QStringLiteral("ビットマップ (*.bmp; dib) (*.bmp *.dib)"));
}

TEST(DialogFilterList, OddEntriesAndEmptyListsEndCleanly) {
  EXPECT_TRUE(ParseFilterList(nullptr).empty());
  EXPECT_TRUE(ParseFilterList("").empty());
  const char dangling[] = "PNG\0*.png\0Lonely description\0";
  const auto filters = ParseFilterList(dangling);
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_EQ(filters[0].description, QStringLiteral("PNG"));
}

TEST(DialogFilterList, PatternsQtCannotReadFallBackToEveryFile) {
  const char list[] = "Odd\0 ; *.p(n)g ;\0Spaced\0 *.a ; *.b \0";
  const auto filters = ParseFilterList(list);
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].patterns, QStringList{QStringLiteral("*")});
  EXPECT_EQ(filters[1].patterns, (QStringList{QStringLiteral("*.a"), QStringLiteral("*.b")}));
}

TEST(DialogText, CopiesWholeTextWhenItFits) {
  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(CopyTextOut("sheet.png", sizeof buffer, buffer), 9u);
  EXPECT_STREQ(buffer, "sheet.png");
  EXPECT_EQ(buffer[10], 'x');
}

TEST(DialogText, CutsAtTheLimitButNeverInsideACharacter) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(CopyTextOut("abcdef", 4, buffer), 3u);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], 'x');
  // "aé" is 3 bytes: a limit of 3 leaves room for 2 bytes, which would split "é".
  EXPECT_EQ(CopyTextOut(QByteArray("a\xC3\xA9"), 3, buffer), 1u);
  EXPECT_STREQ(buffer, "a");
  EXPECT_EQ(CopyTextOut("abc", 1, buffer), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(CopyTextOut("abc", 0, buffer), 0u);
  EXPECT_EQ(CopyTextOut("abc", 10, nullptr), 0u);
}

OPENFILENAMEA RecordWith(char* file, DWORD size) {
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFile = file;
  ofn.nMaxFile = size;
  return ofn;
}

TEST(DialogPath, OffsetsOfNameAndExtension) {
  char file[64];
  OPENFILENAMEA ofn = RecordWith(file, sizeof file);
  ASSERT_TRUE(StorePickedPath("/tmp/tiles.old/sheet.png", ofn));
  EXPECT_STREQ(file, "/tmp/tiles.old/sheet.png");
  EXPECT_EQ(ofn.nFileOffset, 15);
  EXPECT_EQ(ofn.nFileExtension, 21);

  ASSERT_TRUE(StorePickedPath("/tmp/tiles.old/sheet", ofn));
  EXPECT_EQ(ofn.nFileOffset, 15);
  EXPECT_EQ(ofn.nFileExtension, 20);  // the dot in the folder does not count

  ASSERT_TRUE(StorePickedPath("/tmp/sheet.", ofn));
  EXPECT_EQ(ofn.nFileExtension, 0);  // a trailing dot: no extension, as on Windows
}

TEST(DialogPath, ExactFitIsAcceptedOneByteLessIsRefused) {
  char file[12];
  OPENFILENAMEA ofn = RecordWith(file, 11);
  std::memset(file, 0x5A, sizeof file);
  ASSERT_TRUE(StorePickedPath("/tmp/a.png", ofn));  // 10 bytes and the terminator
  EXPECT_STREQ(file, "/tmp/a.png");

  std::memset(file, 0x5A, sizeof file);
  ofn = RecordWith(file, 10);
  EXPECT_FALSE(StorePickedPath("/tmp/a.png", ofn));
  EXPECT_EQ(file[0], 11);  // the needed size, little-endian, in the first two bytes
  EXPECT_EQ(file[1], 0);
  for (std::size_t i = 2; i < sizeof file; ++i) EXPECT_EQ(file[i], 0x5A) << i;
}

TEST(DialogPath, NeededSizeBeyondOneByteAndTinyBuffers) {
  const QByteArray longPath = "/" + QByteArray(300, 'a');
  char file[4] = {9, 9, 9, 9};
  OPENFILENAMEA ofn = RecordWith(file, 4);
  EXPECT_FALSE(StorePickedPath(longPath, ofn));
  EXPECT_EQ(static_cast<unsigned char>(file[0]), 302 & 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(file[1]), 302 >> 8);
  EXPECT_EQ(file[2], 9);

  char one[2] = {9, 9};
  ofn = RecordWith(one, 1);
  EXPECT_FALSE(StorePickedPath("/a", ofn));
  EXPECT_EQ(one[0], 9);  // no room even for the size: nothing is written
  EXPECT_EQ(one[1], 9);
}

TEST(DialogPath, FileTitleIsFilledWhenAskedAndMustFitToo) {
  char file[64];
  char title[6];
  OPENFILENAMEA ofn = RecordWith(file, sizeof file);
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title;
  ASSERT_TRUE(StorePickedPath("/tmp/a.png", ofn));
  EXPECT_STREQ(title, "a.png");
  std::memset(file, 0x5A, sizeof file);
  EXPECT_FALSE(StorePickedPath("/tmp/ab.png", ofn));
  EXPECT_EQ(file[0], 0x5A);  // nothing is handed back when any part does not fit
  EXPECT_EQ(title[0], 7);
}

TEST(DialogRecord, SizesMatchTheWindowsLayout) {
  EXPECT_EQ(OPENFILENAME_SIZE_VERSION_400A, offsetof(OPENFILENAMEA, pvReserved));
  EXPECT_LT(offsetof(OPENFILENAMEA, nFileOffset), offsetof(OPENFILENAMEA, nFileExtension));
  EXPECT_EQ(offsetof(OPENFILENAMEA, nFileExtension), offsetof(OPENFILENAMEA, nFileOffset) + 2);
  EXPECT_EQ(static_cast<int>(CDN_TYPECHANGE), -607);
  EXPECT_EQ(offsetof(OFNOTIFYA, hdr), 0u);
  EXPECT_EQ(offsetof(CHOOSECOLORA, rgbResult), offsetof(CHOOSECOLORA, hInstance) + sizeof(HWND));
}

}  // namespace
