// UTF-8 and UTF-16 conversion: sizes, short buffers, bad arguments, invalid bytes, surrogates.
#include <gtest/gtest.h>

#include <string>

#include "api/linux/win_base.h"

namespace {

constexpr DWORD kMbErrInvalidChars = 0x8;
constexpr DWORD kWcErrInvalidChars = 0x80;

std::u16string ToWide(const std::string& utf8, DWORD flags = 0) {
  const int needed =
      MultiByteToWideChar(CP_UTF8, flags, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::u16string out(static_cast<size_t>(needed), u'\0');
  if (needed > 0) {
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, flags, utf8.data(), static_cast<int>(utf8.size()),
                                  out.data(), needed),
              needed);
  }
  return out;
}

TEST(MultiByteToWideChar, ConvertsJapaneseAndSupplementaryCharacters) {
  EXPECT_EQ(ToWide("ビットマップ"), u"ビットマップ");
  EXPECT_EQ(ToWide("a\xF0\x9F\x98\x80z"), std::u16string(u"a\U0001F600z"));
  EXPECT_EQ(ToWide("\xC3\xA9"), u"é");
}

TEST(MultiByteToWideChar, MinusOneIncludesTheTerminator) {
  const char* text = "C:/タイル.png";
  const int needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  EXPECT_EQ(needed, 11);  // 10 characters and the terminator
  WCHAR buffer[260];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, 260), needed);
  EXPECT_EQ(std::u16string(buffer), u"C:/タイル.png");
  EXPECT_EQ(buffer[needed], u'#');  // nothing written after the terminator
}

TEST(MultiByteToWideChar, TooSmallBufferGivesZeroAndWritesNothing) {
  WCHAR buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abcdef", -1, buffer + 1, 6), 0);
  for (WCHAR c : buffer) EXPECT_EQ(c, u'#');
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abcdef", -1, buffer + 1, 7), 7);
  EXPECT_EQ(buffer[0], u'#');
  EXPECT_EQ(buffer[7], u'\0');
}

TEST(MultiByteToWideChar, RejectsBadArguments) {
  WCHAR buffer[4];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, buffer, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", 0, buffer, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", -2, buffer, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", 1, nullptr, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", 1, buffer, -1), 0);
  EXPECT_EQ(MultiByteToWideChar(932, 0, "a", 1, buffer, 4), 0);
}

TEST(MultiByteToWideChar, InvalidSequencesBecomeReplacementCharacters) {
  // A lone continuation byte, a truncated three-byte sequence, an overlong form and an
  // encoded surrogate: each maximal bad part gives one U+FFFD.
  EXPECT_EQ(ToWide("a\x80z"), u"a\uFFFDz");
  EXPECT_EQ(ToWide("a\xE3\x81z"), u"a\uFFFDz");
  EXPECT_EQ(ToWide("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(ToWide("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(ToWide("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
  // A sequence cut off by the end of the input.
  EXPECT_EQ(ToWide("ab\xF0\x9F\x98"), u"ab\uFFFD");
}

TEST(MultiByteToWideChar, StrictModeRefusesInvalidInput) {
  WCHAR buffer[8];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, kMbErrInvalidChars, "a\x80", 2, buffer, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, kMbErrInvalidChars, "ab", 2, buffer, 8), 2);
}

TEST(WideCharToMultiByte, RoundTripsAndQueriesSize) {
  const std::u16string text = u"地形\U0001F600.png";
  const int needed =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  EXPECT_EQ(needed, 6 + 4 + 4 + 1);
  std::string out(static_cast<size_t>(needed), '#');
  ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), needed, nullptr, nullptr),
            needed);
  EXPECT_EQ(out, std::string("地形\xF0\x9F\x98\x80.png") + '\0');
}

TEST(WideCharToMultiByte, TooSmallBufferGivesZeroAndWritesNothing) {
  char buffer[6] = {'#', '#', '#', '#', '#', '#'};
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"タイル", -1, buffer, 6, nullptr, nullptr), 0);
  for (char c : buffer) EXPECT_EQ(c, '#');
}

TEST(WideCharToMultiByte, LoneSurrogatesAreReplacedOrRefused) {
  const char16_t lone[] = {u'a', 0xD800, u'b', 0};
  char buffer[16] = {};
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, lone, -1, buffer, 16, nullptr, nullptr), 6);
  EXPECT_EQ(std::string(buffer),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(
      WideCharToMultiByte(CP_UTF8, kWcErrInvalidChars, lone, -1, buffer, 16, nullptr, nullptr), 0);
  BOOL used = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, lone, 3, buffer, 16, "?", &used), 5);
  EXPECT_TRUE(used);
}

TEST(WideCharToMultiByte, Utf8TakesNoDefaultCharacter) {
  char buffer[8];
  BOOL used = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", -1, buffer, 8, "?", nullptr), 0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", -1, buffer, 8, nullptr, &used), 0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, nullptr, -1, buffer, 8, nullptr, nullptr), 0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 0, buffer, 8, nullptr, nullptr), 0);
}

}  // namespace
