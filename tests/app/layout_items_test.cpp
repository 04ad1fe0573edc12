// The 形式 menu's tile size submenu and complete-shapes item in the real window, chosen
// through the open popups as a user chooses them: the grid and the block follow at once,
// and a click pair saves the sheet the converter writes for the same settings and cell.
#include <string>
#include <vector>

#include "app/main_menu.h"
#include "app/menu_resource.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "support/pixel_difference.h"
#include "support/program_run.h"

using namespace korvanth;

namespace {

class LayoutItemsTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    picturePath_ = SavePicture(picture_, "tiles.png");
    Restart({"korvanth", picturePath_});
    ASSERT_EQ(MainWindowState.picture.width, 200);
  }

  bool Checked(UINT command) {
    return (GetMenuState(GetMenu(window()), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }

  // The converter's sheet for the same picture, format options and cell.
  QImage ConverterSheet(std::vector<std::string> options, const std::string& name) {
    options.push_back(picturePath_);
    options.push_back(dir_.file(name));
    const ProgramRun run = RunConverter(options);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return ReadBack(dir_.file(name));
  }

  const QImage picture_ = PatternImage(200, 200, false);
  std::string picturePath_;
};

TEST_F(LayoutItemsTest, TileSizeItemMovesTheGridAndScalesTheBlockAndTheSave) {
  const UINT size16 = TileSizeMenuItemFor(16)->command;
  const UINT size32 = TileSizeMenuItemFor(32)->command;
  EXPECT_TRUE(Checked(size32));
  MoveMouse(3 * 32 + 5, 2 * 32 + 7);  // the block at (96, 64)
  ChooseMenuItems(1, {"タイルサイズ", "16"});
  EXPECT_TRUE(Checked(size16));
  EXPECT_FALSE(Checked(size32));

  // The block stays at (96, 64), now 32 x 48 (地形1's 2 x 3 tiles of 16).
  const QImage shown = Paint();
  auto onPicture = [&](int x, int y) { return shown.pixel(x, y) == picture_.pixel(x, y); };
  EXPECT_FALSE(onPicture(99, 67) || onPicture(125, 109));
  EXPECT_TRUE(onPicture(131, 70) && onPicture(99, 115) && onPicture(93, 67));
  // Grid lines every 16 picture pixels, and only there: row 5 lies above the block.
  for (int x = 0; x < 200; ++x) {
    const QRgb under = picture_.pixel(x, 5);
    const QRgb line = qRed(under) + qGreen(under) + qBlue(under) < 384 ? 0xFFFFFFFF : 0xFF000000;
    ASSERT_EQ(shown.pixel(x, 5), x % 16 == 0 ? line : under) << x;
  }

  // The pointer on cell (5, 7) of 16 pixels: the saved sheet is the converter's.
  const QImage saved = ClickAndSave(5 * 16 + 3, 7 * 16 + 3, "window.png");
  EXPECT_EQ(saved.size(), QSize(64, 160));
  EXPECT_EQ(
      FirstDifference(ConverterSheet({"--tile-size", "16", "--cell", "5,7"}, "cli.png"), saved),
      "");

  // Closing the window puts both settings back as a new run finds them.
  ChooseMenuItems(1, {"全形状を追加(&C)"});
  EXPECT_EQ(CloseAndRunLoop(), 0);
  EXPECT_EQ(CurrentSheetLayout(MainWindowState), SheetLayout(LayoutFormat::Terrain1));
  EXPECT_EQ(MainWindowState.view.cell, 32);
}

// A menu change that resizes the block shows on the canvas at once, before the pointer
// moves: the pixels inside the new block are tinted and those only the old one covered
// show the picture again.
TEST_F(LayoutItemsTest, TheCanvasShowsTheNewBlockAtOnce) {
  const QRgb colour = 0xFF3060A0;
  Load(SavePicture(Solid(300, 300, colour), "solid.png"));
  struct Case {
    UINT command;
    QPoint tinted, plain;  // picture pixels, off every grid line of either size
  };
  // The pointer on cell (1, 1): 地形1 at 32 covers (32, 32) to (96, 128).
  const Case cases[] = {
      {IDM_FORMAT_ROOF, {50, 90}, {50, 110}},                   // 64 x 64
      {IDM_FORMAT_TERRAIN2, {110, 50}, {140, 50}},              // 96 x 128
      {TileSizeMenuItemFor(16)->command, {40, 40}, {70, 70}},   // 32 x 48 at (32, 32)
      {TileSizeMenuItemFor(64)->command, {10, 10}, {140, 40}},  // 128 x 192 at (0, 0)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    Command(IDM_FORMAT_TERRAIN1);
    Command(TileSizeMenuItemFor(32)->command);
    MoveMouse(40, 40);
    InvalidateRect(window(), nullptr, FALSE);
    ASSERT_NE(Paint().pixel(50, 110), colour);  // the 地形1 block as the row starts
    Command(c.command);
    const QImage shown = Paint();
    EXPECT_NE(shown.pixel(c.tinted), colour);
    EXPECT_EQ(shown.pixel(c.plain), colour);
  }
}

TEST_F(LayoutItemsTest, CompleteItemSavesTheCompleteSheet) {
  EXPECT_FALSE(Checked(IDM_FORMAT_COMPLETE));
  ChooseMenuItems(1, {"全形状を追加(&C)"});
  EXPECT_TRUE(Checked(IDM_FORMAT_COMPLETE));
  const QImage saved = ClickAndSave(2 * 32 + 9, 1 * 32 + 9, "window.png");
  EXPECT_EQ(saved.size(), QSize(128, 384));
  EXPECT_EQ(FirstDifference(ConverterSheet({"--complete", "--cell", "2,1"}, "cli.png"), saved), "");
}

}  // namespace
