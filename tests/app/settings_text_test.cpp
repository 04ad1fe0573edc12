// The settings file's text: what a file holds back after a round trip, and what is kept
// of damaged, truncated, oversized and out-of-range files. Also the first window size.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "app/first_window_size.h"
#include "app/settings_text.h"

using namespace korvanth;
using namespace std::string_literals;

namespace {

RememberedSettings Parsed(const std::string& text) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  return ParseSettings({bytes, text.size()});
}

TEST(RememberedSettingsTest, EveryChoiceComesBackThroughTheFile) {
  RememberedSettings chosen;
  chosen.format = LayoutFormat::Roof;
  chosen.zoom = 8;
  chosen.tileSize = 48;
  chosen.complete = true;
  chosen.previewShown = true;
  chosen.previewCorner = RememberedPoint{-1200, 32767};
  chosen.tilesets = kAllTilesets;
  chosen.openFolder = "/home/ユーザー/タイル";
  chosen.saveType = "jpeg";
  chosen.saveFilter = 4;
  chosen.picture = "/home/me/tiles #1.png";
  chosen.windowSize = RememberedSize{64, 32767};
  chosen.statusBarShown = false;
  chosen.recentPictures = {"/a/1.png",   "/home/ユーザー/2.png",
                           "/a/3=4.png", "/a/4.png",
                           "/a/5.png",   "/a/6.png",
                           "/a/7.png",   "/a/8.png"};
  chosen.frameColour = 0x00FFFFFF;
  chosen.backgroundColour = 0x00000000;
  chosen.language = UiLanguage::English;
  EXPECT_EQ(Parsed(FormatSettings(chosen)), chosen);
  EXPECT_EQ(Parsed(FormatSettings(RememberedSettings{})), RememberedSettings{});
}

TEST(RememberedSettingsTest, DamagedTruncatedOversizedAndOutOfRangeFilesKeepOnlyGoodLines) {
  using Change = std::function<void(RememberedSettings&)>;
  const std::string good = "format=terrain2\nzoom=4\n";
  std::string oversized = good + "#";
  oversized.resize(kMaxSettingsBytes + 1, 'x');
  std::string atTheCap = good + "#";
  atTheCap.resize(kMaxSettingsBytes, 'x');
  const std::string longName = "/" + std::string(kMaxRememberedPathBytes, 'a');
  struct Case {
    std::string text;
    Change expected;  // applied to the defaults
  };
  const auto terrain2Zoom4 = [](RememberedSettings& s) {
    s.format = LayoutFormat::Terrain2;
    s.zoom = 4;
  };
  const auto none = [](RememberedSettings&) {};
  const Case cases[] = {
      {"", none},
      {good, terrain2Zoom4},  // as an older file: no language, which stays Japanese
      {"format=terrain2\r\nzoom=4", terrain2Zoom4},  // CRLF, no newline at the end
      {"junk\nformat=terrain2\n\xff\xfe=\x01\nsize=9\n=4\nzoom=4\n# zoom=2\n", terrain2Zoom4},
      {"format=terrain2\nzoom=", [](RememberedSettings& s) { s.format = LayoutFormat::Terrain2; }},
      {"format=roof\nformat=terrain2\nformat=none\nformat=terr\nformat=Roof\nformat=roof\0"s,
       [](RememberedSettings& s) { s.format = LayoutFormat::Terrain2; }},
      {oversized, none},
      {atTheCap, terrain2Zoom4},
      // Every value out of its range or mis-spelt; a point or size needs both halves.
      {"zoom=0\nzoom=9\nzoom=+2\nzoom= 2\nzoom=0x2\nzoom=00000002\nzoom=99999999999\n"
       "tile-size=6\ntile-size=33\ntile-size=130\ncomplete=1\npreview=true\n"
       "tilesets=both\ntilesets=tiled,tiled\ntilesets=tiled,\ntilesets=\n"
       "preview-x=32768\npreview-y=0\nwindow-width=800\nwindow-height=63\n"
       "picture=/a/b\x01.png\nopen-folder=/a/\xc3\nsave-type=xyz\nsave-filter=17\n"
       "save-filter=0\nframe-colour=12345\nframe-colour=1234567\nframe-colour=#123456\n"
       "frame-colour=12345g\nbackground-colour=-12345\nbackground-colour= 12345\n"
       "language=EN\nlanguage=fr\nlanguage=\nlanguage=english\nopen-folder=" +
           longName,
       none},
      // Recent pictures: numbered 1 to 8, in their numbers' order, each once; an older file
      // without them has none and shows the status bar.
      {"recent-3=/c.png\nrecent-1=/a.png\nrecent-8=/h.png\nrecent-2=/a.png\n",
       [](RememberedSettings& s) {
         s.recentPictures = {"/a.png", "/c.png", "/h.png"};
       }},
      {"recent-0=/z.png\nrecent-9=/z.png\nrecent-01=/z.png\nrecent-+1=/z.png\nrecent=/z.png\n"
       "recent-1=\nrecent-2=/b\x01.png\nrecent-x=/z.png\nstatus-bar=0\nstatus-bar=off\n",
       none},
      {"status-bar=no\nstatus-bar=maybe\nrecent-2=/b.png\n",
       [](RememberedSettings& s) {
         s.statusBarShown = false;
         s.recentPictures = {"/b.png"};
       }},
      {"tile-size=128\ncomplete=yes\npreview=yes\ntilesets=godot,tiled\npreview-x=10\n"
       "preview-y=-20\nwindow-width=64\nwindow-height=600\npicture=/a/b=c.png\n"
       "save-type=TIF\nsave-filter=16\nframe-colour=00ff7F\nbackground-colour=A0B0C0\n"
       "language=en\nopen-folder=" +
           longName.substr(1),
       [&longName](RememberedSettings& s) {
         s.tileSize = 128;
         s.complete = s.previewShown = true;
         s.tilesets = kAllTilesets;
         s.previewCorner = RememberedPoint{10, -20};
         s.windowSize = RememberedSize{64, 600};
         s.picture = "/a/b=c.png";
         s.saveType = "TIF";
         s.saveFilter = 16;
         s.frameColour = 0x007FFF00;  // the file's red, green, blue; the window's 0x00BBGGRR
         s.backgroundColour = 0x00C0B0A0;
         s.openFolder = longName.substr(1);
         s.language = UiLanguage::English;
       }},
  };
  for (const Case& c : cases) {
    RememberedSettings expected;
    c.expected(expected);
    EXPECT_EQ(Parsed(c.text), expected) << c.text.substr(0, 120);
  }
}

TEST(RememberedSettingsTest, NamesThatCouldNotBeReadBackAreLeftOut) {
  RememberedSettings chosen;
  chosen.picture = "/a/line\nformat=roof";
  chosen.openFolder = "/a/\xff";
  chosen.recentPictures = {"/a/line\nzoom=8", "/b.png"};
  RememberedSettings readable;
  readable.recentPictures = {"/b.png"};
  EXPECT_EQ(Parsed(FormatSettings(chosen)), readable);
}

// A frame of 10 x 50 with 15-pixel bars on a 1000 x 800 work area leaves a client area of
// at most 790 x 590 (80 % is 800 x 640).
TEST(FirstWindowSizeTest, WholePictureUpToEightyPercentNeverBelowTheOldSize) {
  const WindowFrameExtent frame{10, 50, 15, 15};
  struct Case {
    PixelSize picture, workArea, expected;
  };
  const Case cases[] = {
      {{100, 80}, {1000, 800}, {523, 563}},    // a small picture: the 513 x 513 client area
      {{600, 400}, {1000, 800}, {610, 563}},   // wider only
      {{2000, 300}, {1000, 800}, {800, 563}},  // a horizontal bar, 315 high: still 513
      {{300, 2000}, {1000, 800}, {523, 640}},  // a vertical bar, 315 wide: still 513
      {{700, 580}, {1000, 800}, {710, 630}},   // fits without bars
      {{780, 2000}, {1000, 800}, {800, 640}},  // the vertical bar brings the horizontal
      {{1000, 1000}, {600, 500}, {523, 563}},  // 80 % below the old size: the old size
  };
  for (const Case& c : cases) {
    const PixelSize size = FirstWindowSize(c.picture, c.workArea, frame);
    EXPECT_EQ(size, c.expected) << c.picture.width << " x " << c.picture.height << ": "
                                << size.width << " x " << size.height;
  }
}

}  // namespace
