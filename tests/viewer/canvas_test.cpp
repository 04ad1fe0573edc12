// What a paint of the real window shows: the picture, the contrast grid fixed to the
// picture, the translucent block with its outline, and where the block is taken from.
#include "app/window_state.h"
#include "app/menu_resource.h"
#include "platform/linux/window_internals.h"
#include "gui_support/main_window_fixture.h"
#include "viewer/canvas.h"
#include "viewer/scroll_state.h"
#include "viewer/view_colours.h"

using namespace korvanth;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGrey = 0xFF808080;

TEST(ViewColoursTest, ConversionsToArgb) {
  EXPECT_EQ(ColourToArgb(0x000000FF), 0xFFFF0000u);
  EXPECT_EQ(ColourToArgbAlpha(0x000000FF, 128), 0x80FF0000u);
  EXPECT_EQ(ColourToArgb(0x00808080), 0xFF808080u);
  EXPECT_EQ(ColourToArgb(0xAB00FF00), 0xFF00FF00u);  // the top byte is ignored
  EXPECT_EQ(ColourToArgbAlpha(0x00FF0000, 128), 0x800000FFu);
  EXPECT_EQ(ColourToArgbAlpha(0x00FF0000, 0x1FF), 0xFF0000FFu);
}

// The pointer's cell after the grid's cell changes: the cell holding the old cell's
// top-left picture pixel (old corner / new size, rounded down).
TEST(ViewCellTest, NewCellHoldsTheOldCellsCorner) {
  struct Case {
    int from, to, column, row, newColumn, newRow;
  };
  const Case cases[] = {
      {32, 16, 3, 2, 6, 4},               // 96, 64: a corner again
      {32, 48, 3, 1, 2, 0},               // 96 is a corner, 32 lies in the first cell
      {8, 128, 67108863, 0, 4194303, 0},  // far out: 536870904 / 128, without overflow
  };
  for (const Case& c : cases) {
    ViewState view;
    view.cell = c.from;
    view.cursor = {c.column, c.row};
    ResizeViewCell(view, c.to);
    EXPECT_EQ(view.cell, c.to);
    EXPECT_EQ(view.cursor.column, c.newColumn) << c.from << " " << c.to << " " << c.column;
    EXPECT_EQ(view.cursor.row, c.newRow) << c.from << " " << c.to << " " << c.row;
  }
}

class CanvasTest : public MainWindowFixture {
 protected:
  // Picture pixels lie under window pixels when unscrolled.
  void ExpectGrid(const QImage& shown, int pictureWidth, int pictureHeight, QRgb lineOnPicture,
                  QRect skip) {
    for (int y = 0; y < shown.height(); ++y) {
      for (int x = 0; x < shown.width(); ++x) {
        if (skip.contains(x, y)) continue;
        const bool inGrid = x <= pictureWidth && y <= pictureHeight;
        const bool onLine = inGrid && (x % 32 == 0 || y % 32 == 0);
        const bool onPicture = x < pictureWidth && y < pictureHeight;
        QRgb expected = onPicture ? picture_.pixel(x, y) | 0xFF000000 : kGrey;
        if (onLine) expected = onPicture ? lineOnPicture : kBlack;  // grey sums to 384
        ASSERT_EQ(shown.pixel(x, y), expected) << "at " << x << "," << y;
      }
    }
  }
  QImage picture_;
};

TEST_F(CanvasTest, GridLinesLieOnPictureCoordinatesAndStopPastTheEdge) {
  picture_ = Solid(256, 256, 0xFF0A141E);  // dark: lines turn white
  Load(SavePicture(picture_, "dark.png"));
  MoveMouse(7 * 32 + 3, 7 * 32 + 3);  // the block is pulled back to (192, 160)
  const QImage shown = Paint();
  EXPECT_EQ(SelectionOrigin(MainWindowState).x, 192);
  EXPECT_EQ(SelectionOrigin(MainWindowState).y, 160);
  ExpectGrid(shown, 256, 256, kWhite, QRect(190, 158, 70, 100));
}

TEST_F(CanvasTest, ThresholdIs384) {
  picture_ = Solid(256, 256, qRgb(127, 128, 128));  // sum 383
  Load(SavePicture(picture_, "383.png"));
  MoveMouse(500, 500);  // the block sits at the far corner
  QImage shown = Paint();
  EXPECT_EQ(shown.pixel(40, 32), kWhite);
  picture_ = Solid(256, 256, qRgb(128, 128, 128));  // sum 384
  Load(SavePicture(picture_, "384.png"));
  shown = Paint();
  EXPECT_EQ(shown.pixel(40, 32), kBlack);
  EXPECT_EQ(shown.pixel(32, 45), kBlack);
}

TEST_F(CanvasTest, PictureWhoseWidthIsNoMultipleOf32) {
  picture_ = Solid(300, 200, 0xFF202020);
  Load(SavePicture(picture_, "300.png"));
  MoveMouse(2, 2);  // block at (0, 0, 64, 96)
  const QImage shown = Paint();
  EXPECT_EQ(SelectionOrigin(MainWindowState).x, 0);
  EXPECT_EQ(SelectionOrigin(MainWindowState).y, 0);
  EXPECT_EQ(shown.pixel(288, 100), kWhite);  // the last vertical line
  EXPECT_EQ(shown.pixel(300, 100), kGrey);   // no line just past the picture
  EXPECT_EQ(shown.pixel(300, 128), kBlack);  // only the horizontal lines cross it
  EXPECT_EQ(shown.pixel(301, 128), kGrey);   // nothing beyond the grid area
  EXPECT_EQ(shown.pixel(150, 192), kWhite);  // 200 is no multiple of 32: no closing line
  EXPECT_EQ(shown.pixel(150, 200), kGrey);
}

TEST_F(CanvasTest, GridStaysFixedToThePictureWhenScrolled) {
  picture_ = Solid(256, 1024, 0xFF0A141E);
  Load(SavePicture(picture_, "tall.png"));
  Scroll(WM_VSCROLL, SB_THUMBPOSITION, 10);
  MoveMouse(200, 400);
  const QImage shown = Paint();
  // Picture row 32 lies at window row 22.
  EXPECT_EQ(shown.pixel(10, 22), kWhite);
  EXPECT_EQ(shown.pixel(10, 23), 0xFF0A141Eu);
  EXPECT_EQ(shown.pixel(10, 32), 0xFF0A141Eu);
}

TEST_F(CanvasTest, BlockIsPulledBackAtTheRightEdge) {
  picture_ = PatternImage(256, 1024, false);
  Load(SavePicture(picture_, "pattern.png"));
  korvanth::platform::MenuAction(window(), IDM_FORMAT_TERRAIN2)->trigger();  // 地形2
  MoveMouse(7 * 32 + 5, 5);
  Paint();
  EXPECT_EQ(MainWindowState.view.cursor.column, 7);
  EXPECT_EQ(SelectionOrigin(MainWindowState).x, 160);
  EXPECT_EQ(SelectionOrigin(MainWindowState).y, 0);
}

TEST_F(CanvasTest, ScrolledBlockIsDrawnWhereItIsTaken) {
  picture_ = PatternImage(256, 1024, false);
  Load(SavePicture(picture_, "pattern.png"));
  Scroll(WM_VSCROLL, SB_THUMBPOSITION, 100);
  MoveMouse(40, 65);  // picture y 165: row 5
  const QImage shown = Paint();
  EXPECT_EQ(MainWindowState.view.cursor.row, 5);
  EXPECT_EQ(SelectionOrigin(MainWindowState).x, 32);
  EXPECT_EQ(SelectionOrigin(MainWindowState).y, 160);
  // The 2-pixel outline straddles the block's top edge at window y 60.
  EXPECT_EQ(shown.pixel(50, 59), 0xFFFF0000u);
  EXPECT_EQ(shown.pixel(50, 60), 0xFFFF0000u);
  // Inside: red at alpha 128 over the picture pixel beneath.
  const QRgb under = picture_.pixel(50, 170);
  const QRgb got = shown.pixel(50, 70);
  EXPECT_NEAR(qRed(got), (255 * 128 + qRed(under) * 127) / 255.0, 1.0);
  EXPECT_NEAR(qGreen(got), qGreen(under) * 127 / 255.0, 1.0);
  EXPECT_NEAR(qBlue(got), qBlue(under) * 127 / 255.0, 1.0);
  // Outside the block the picture shows unchanged.
  EXPECT_EQ(shown.pixel(150, 70), picture_.pixel(150, 170) | 0xFF000000);
}

TEST_F(CanvasTest, PictureSmallerThanTheBlockGivesANegativeOrigin) {
  picture_ = Solid(32, 32, 0xFF404040);
  Load(SavePicture(picture_, "tiny.png"));
  for (QPoint at : {QPoint(3, 3), QPoint(300, 200)}) {
    MoveMouse(at.x(), at.y());
    Paint();
    EXPECT_EQ(SelectionOrigin(MainWindowState).x, -32);
    EXPECT_EQ(SelectionOrigin(MainWindowState).y, -64);
  }
}

TEST_F(CanvasTest, FrameColourChangesFillAndOutline) {
  picture_ = Solid(256, 256, 0xFF000000);
  Load(SavePicture(picture_, "black.png"));
  MainWindowState.view.colours[0] = 0x00FF0000;  // blue
  MoveMouse(70, 70);                             // block at (64, 64)
  const QImage shown = Paint();
  EXPECT_EQ(shown.pixel(64, 100), 0xFF0000FFu);  // outline
  const QRgb fill = shown.pixel(80, 80);
  EXPECT_EQ(qRed(fill), 0);
  EXPECT_EQ(qGreen(fill), 0);
  EXPECT_NEAR(qBlue(fill), 128, 1);
}

TEST_F(CanvasTest, NoPictureDrawsNothing) {
  MoveMouse(100, 100);
  const QImage shown = Paint();
  EXPECT_EQ(MainWindowState.view.cursor.column, 3);
  EXPECT_EQ(MainWindowState.view.cursor.row, 3);
  EXPECT_EQ(shown.pixel(100, 100), kGrey);
}

TEST_F(CanvasTest, SecondLoadReplacesTheFirst) {
  Load(SavePicture(Solid(100, 100, 0xFFFF0000), "red.png"));
  MoveMouse(500, 500);
  EXPECT_EQ(Paint().pixel(20, 20), 0xFFFF0000u);
  Load(SavePicture(Solid(100, 100, 0xFF0000FF), "blue.png"));
  EXPECT_EQ(Paint().pixel(20, 20), 0xFF0000FFu);
  EXPECT_EQ(MainWindowState.picture.width, 100);
}

TEST_F(CanvasTest, CursorCellCountsScrolledPixels) {
  Load(SavePicture(Solid(2048, 2048, 0xFF101010), "big.png"));
  MoveMouse(31, 0);
  EXPECT_EQ(MainWindowState.view.cursor.column, 0);
  MoveMouse(32, 0);
  EXPECT_EQ(MainWindowState.view.cursor.column, 1);
  Scroll(WM_HSCROLL, SB_THUMBPOSITION, 10);
  MoveMouse(22, 0);
  EXPECT_EQ(MainWindowState.view.cursor.column, 1);
}

}  // namespace
