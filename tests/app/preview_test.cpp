// The sheet preview of the real window: hidden at start, shown from the view menu, the
// sheet of the block under the pointer at twice its size over a checkerboard, rebuilt
// when the block's corner, the format or the picture changes and only then.
#include <QWidget>

#include <algorithm>

#include "app/main_menu.h"
#include "app/menu_resource.h"
#include "app/sheet_preview.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "platform/linux/window_internals.h"
#include "support/expected_sheet.h"
#include "support/program_run.h"

using namespace korvanth;

namespace {

constexpr UINT kPreviewCommand = IDM_VIEW_PREVIEW;
constexpr QRgb kLight = 0xFFE6E6E6;
constexpr QRgb kDark = 0xFF9A9A9A;

// Opaque pixels with fully transparent holes: a quarter of each 8 x 8 patch is clear.
QImage PictureWithHoles(int width, int height) {
  QImage picture(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.setPixel(x, y,
                       (x % 8 < 4 && y % 8 < 4)
                           ? 0x00000000u
                           : qRgb((x * 7) & 0xFF, (y * 5) & 0xFF, (x ^ y) & 0xFF));
  return picture;
}

// What the preview must show for a sheet: every sheet pixel a square of scale x scale;
// clear sheet pixels show the checkerboard of 4-sheet-pixel squares, light at the top-left.
QImage ExpectedPreview(const QImage& sheet, int scale = 2) {
  QImage shown(sheet.width() * scale, sheet.height() * scale, QImage::Format_RGB32);
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) {
      const QRgb pixel = sheet.pixel(x / scale, y / scale);
      const QRgb checker = ((x / scale / 4 + y / scale / 4) % 2 == 0) ? kLight : kDark;
      shown.setPixel(x, y, qAlpha(pixel) == 0 ? checker : (pixel | 0xFF000000u));
    }
  return shown;
}

class PreviewTest : public MainWindowFixture {
 protected:
  QImage PreviewShown() {
    HWND preview = MainWindowState.preview.window;
    if (preview == nullptr) return QImage();
    const QImage all =
        korvanth::platform::ClientPixels(preview).convertToFormat(QImage::Format_RGB32);
    return all;
  }
  // The sheet part of the preview (top-left), for a sheet of this format.
  QImage PreviewOf(LayoutFormat format) {
    const PixelSize sheet = SheetSize(format);
    return PreviewShown().copy(0, 0, sheet.width * 2, sheet.height * 2);
  }
  bool MenuChecked() {
    return (GetMenuState(GetMenu(window()), kPreviewCommand, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
};

TEST_F(PreviewTest, HiddenAtStartThenShownAndHiddenFromTheMenu) {
  EXPECT_EQ(MainWindowState.preview.window, nullptr);
  EXPECT_FALSE(MenuChecked());
  Command(kPreviewCommand);
  HWND preview = MainWindowState.preview.window;
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(IsWindowVisible(preview));
  EXPECT_TRUE(MenuChecked());
  // An owned window: its owner is the main window, which keeps the keyboard focus.
  EXPECT_EQ(preview->parent(), window());
  EXPECT_EQ(GetFocus(), window());
  RECT client{};
  GetClientRect(preview, &client);
  EXPECT_EQ(client.right, 256);   // the widest sheet (128) at twice its size
  EXPECT_EQ(client.bottom, 768);  // the tallest (384)
  Command(kPreviewCommand);
  EXPECT_FALSE(IsWindowVisible(preview));
  EXPECT_FALSE(MenuChecked());
  // The close box hides it as well.
  Command(kPreviewCommand);
  EXPECT_TRUE(IsWindowVisible(preview));
  SendMessageA(preview, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(preview));
  EXPECT_FALSE(IsWindowVisible(preview));
  EXPECT_FALSE(MenuChecked());
}

TEST_F(PreviewTest, FollowsTheBlockAndShowsTheCheckerboardUnderClearPixels) {
  const QImage picture = PictureWithHoles(300, 260);
  Load(SavePicture(picture, "holes.png"));
  MoveMouse(2 * 32 + 5, 1 * 32 + 5);
  Command(kPreviewCommand);
  EXPECT_EQ(FirstDifference(ExpectedPreview(ExpectedSheet(picture, LayoutFormat::Terrain1, 64, 32)),
                            PreviewOf(LayoutFormat::Terrain1)),
            "");
  const int builds = MainWindowState.preview.builds;
  // Within the same cell nothing is rebuilt.
  MoveMouse(2 * 32 + 20, 1 * 32 + 25);
  Paint();
  EXPECT_EQ(MainWindowState.preview.builds, builds);
  // Another cell: the preview follows (the block is pulled back at the right edge).
  MoveMouse(8 * 32 + 3, 3 * 32 + 3);
  Paint();
  EXPECT_EQ(MainWindowState.preview.builds, builds + 1);
  EXPECT_EQ(SelectionOrigin(MainWindowState).x, 300 - 64);
  EXPECT_EQ(
      FirstDifference(ExpectedPreview(ExpectedSheet(picture, LayoutFormat::Terrain1, 236, 96)),
                      PreviewOf(LayoutFormat::Terrain1)),
      "");
  // Every clear pixel of the sheet shows the checkerboard, in both of its colours.
  const QImage shown = PreviewShown();
  const QImage sheet = ExpectedSheet(picture, LayoutFormat::Terrain1, 236, 96);
  int clear = 0;
  for (int y = 0; y < shown.height() && y < sheet.height() * 2; ++y)
    for (int x = 0; x < sheet.width() * 2; ++x) {
      if (qAlpha(sheet.pixel(x / 2, y / 2)) != 0) continue;
      ASSERT_EQ(shown.pixel(x, y), ((x / 8 + y / 8) % 2 == 0) ? kLight : kDark) << x << "," << y;
      ++clear;
    }
  EXPECT_GT(clear, 1000);
  // Beside a narrower sheet the preview shows its margin colour.
  Command(IDM_FORMAT_ROOF);  // 屋根: 96 x 128
  EXPECT_EQ(PreviewShown().pixel(250, 300), 0xFF808080u);
}

TEST_F(PreviewTest, FormatAndPictureChangesRebuildWithoutAMove) {
  const QImage picture = PictureWithHoles(320, 320);
  Load(SavePicture(picture, "first.png"));
  MoveMouse(3 * 32 + 1, 2 * 32 + 1);
  Paint();
  Command(kPreviewCommand);
  const int builds = MainWindowState.preview.builds;
  Command(IDM_FORMAT_TERRAIN2);  // 地形2
  EXPECT_EQ(MainWindowState.preview.builds, builds + 1);
  EXPECT_EQ(FirstDifference(ExpectedPreview(ExpectedSheet(picture, LayoutFormat::Terrain2, 96, 64)),
                            PreviewOf(LayoutFormat::Terrain2)),
            "");
  // The same format again changes nothing.
  Command(IDM_FORMAT_TERRAIN2);
  EXPECT_EQ(MainWindowState.preview.builds, builds + 1);
  // A new picture with the block on the same cell.
  const QImage second = PatternImage(320, 320, true);
  Load(SavePicture(second, "second.png"));
  EXPECT_EQ(MainWindowState.preview.builds, builds + 2);
  const QImage expected = ExpectedSheet(second, LayoutFormat::Terrain2, 96, 64);
  // Semi-transparent pixels blend over the checkerboard; opaque and clear ones are exact.
  const QImage shown = PreviewOf(LayoutFormat::Terrain2);
  int compared = 0;
  for (int y = 0; y < expected.height(); ++y)
    for (int x = 0; x < expected.width(); ++x) {
      const QRgb pixel = expected.pixel(x, y);
      if (qAlpha(pixel) != 0 && qAlpha(pixel) != 255) continue;
      const QRgb checker = ((2 * x / 8 + 2 * y / 8) % 2 == 0) ? kLight : kDark;
      ASSERT_EQ(shown.pixel(2 * x + 1, 2 * y + 1), qAlpha(pixel) == 0 ? checker : pixel)
          << x << "," << y;
      ++compared;
    }
  EXPECT_GT(compared, 100);
}

TEST_F(PreviewTest, HoldsTheWholeSheetAtTheLargestTileSizeCompleted) {
  const QImage picture = PictureWithHoles(320, 320);
  const std::string path = SavePicture(picture, "holes.png");
  Load(path);
  MoveMouse(40, 40);
  Command(kPreviewCommand);
  Command(IDM_FORMAT_TERRAIN2);
  Command(TileSizeMenuItemFor(64)->command);
  Command(IDM_FORMAT_COMPLETE);
  HWND preview = MainWindowState.preview.window;
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(IsWindowVisible(preview));
  EXPECT_EQ(GetFocus(), window());
  RECT client{};
  GetClientRect(preview, &client);
  EXPECT_EQ(client.right, 256);  // the sheet at its own size: twice would not fit
  EXPECT_EQ(client.bottom, 832);
  // The block moved to the 64-pixel cell (0, 0) that holds its old corner (32, 32).
  const ProgramRun run = RunConverter({"--format", "terrain2", "--tile-size", "64", "--complete",
                                       "--cell", "0,0", path, dir_.file("cli.png")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(FirstDifference(ExpectedPreview(ReadBack(dir_.file("cli.png")), 1), PreviewShown()),
            "");
}

TEST_F(PreviewTest, ClosingTheMainWindowTakesThePreviewAlong) {
  Load(SavePicture(PictureWithHoles(128, 128), "small.png"));
  Command(kPreviewCommand);
  HWND preview = MainWindowState.preview.window;
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(CloseAndRunLoop(), 0);
  EXPECT_FALSE(IsWindow(preview));
  EXPECT_EQ(MainWindowState.preview.window, nullptr);
}

}  // namespace
