// The zoomed view of the real window: Ctrl+wheel around the pointer, keys and menu, the
// picture, grid and block at every zoom, and clicks converting exactly the block shown.
#include <QActionGroup>
#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QScrollBar>

#include <algorithm>
#include <functional>
#include <tuple>

#include "app/window_state.h"
#include "app/menu_resource.h"
#include "gui_support/main_window_fixture.h"
#include "platform/linux/window_internals.h"
#include "support/expected_sheet.h"
#include "viewer/canvas.h"
#include "viewer/scroll_state.h"
#include "viewer/view_zoom.h"

using namespace korvanth;

namespace {

constexpr UINT kZoom1 = IDM_VIEW_ZOOM1;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

// The view as it must look at `zoom` with these offsets, worked out from the picture
// alone: each picture pixel a zoom x zoom square; a screen pixel whose picture position is
// a multiple of 32 pixels (in screen pixels, of 32 x zoom) on either axis is a grid pixel
// and turns white over a dark pixel (sum below 384), black otherwise. Opaque pictures only.
QRgb ExpectedViewPixel(const QImage& picture, int zoom, int offsetX, int offsetY, int x, int y,
                       QRgb background) {
  const int sx = x + offsetX;
  const int sy = y + offsetY;
  const int px = sx / zoom;
  const int py = sy / zoom;
  const bool onPicture = px < picture.width() && py < picture.height();
  const QRgb under = onPicture ? picture.pixel(px, py) : background;
  const bool inGrid = x <= picture.width() * zoom && y <= picture.height() * zoom;
  const bool onLine = inGrid && (sx % (32 * zoom) == 0 || sy % (32 * zoom) == 0);
  if (!onLine) return under;
  return qRed(under) + qGreen(under) + qBlue(under) < 384 ? kWhite : kBlack;
}

class ZoomTest : public MainWindowFixture {
 protected:
  // Every pixel of the client area outside `skip` against the expectation.
  void ExpectView(const QImage& picture, QRect skip) {
    const QImage shown = Paint();
    const ViewState& view = MainWindowState.view;
    // The rows below the view are the status bar's.
    for (int y = 0; y < ViewRect().bottom; ++y)
      for (int x = 0; x < shown.width(); ++x) {
        if (skip.contains(x, y)) continue;
        ASSERT_EQ(shown.pixel(x, y), ExpectedViewPixel(picture, view.zoom, view.horizontal.offset,
                                                       view.vertical.offset, x, y, 0xFF808080))
            << "at " << x << "," << y << " zoom " << view.zoom;
      }
  }

  // The block on screen for the current SelectionOrigin, grown by the outline's pixel.
  QRect BlockOnScreen(int blockWidth, int blockHeight) const {
    const ViewState& view = MainWindowState.view;
    const SelectionPoint origin = SelectionOrigin(MainWindowState);
    return QRect(origin.x * view.zoom - view.horizontal.offset - 1,
                 origin.y * view.zoom - view.vertical.offset - 1, blockWidth * view.zoom + 2,
                 blockHeight * view.zoom + 2);
  }

  UINT CheckedZoomItem() {
    for (UINT id = kZoom1; id < kZoom1 + 8; ++id)
      if (GetMenuState(GetMenu(window()), id, MF_BYCOMMAND) & MF_CHECKED) return id;
    return 0;
  }
};

TEST_F(ZoomTest, StartsAtOneWithARadioMarkOnTheFirstStep) {
  EXPECT_EQ(MainWindowState.view.zoom, 1);
  const UINT state = GetMenuState(GetMenu(window()), kZoom1, MF_BYCOMMAND);
  EXPECT_EQ(state & (MF_CHECKED | MFT_RADIOCHECK), static_cast<UINT>(MF_CHECKED | MFT_RADIOCHECK));
  // Qt draws a radio mark for actions of an exclusive group; the format items too.
  for (UINT id : {kZoom1, kZoom1 + 7, UINT{IDM_FORMAT_TERRAIN1}, UINT{IDM_FORMAT_ROOF}}) {
    QAction* action = korvanth::platform::MenuAction(window(), id);
    ASSERT_NE(action, nullptr);
    ASSERT_NE(action->actionGroup(), nullptr) << id;
    EXPECT_TRUE(action->actionGroup()->isExclusive()) << id;
  }
}

TEST_F(ZoomTest, CtrlWheelKeepsThePixelUnderThePointer) {
  const QImage picture = PatternImage(1200, 900, false);
  Load(SavePicture(picture, "big.png"));
  Scroll(WM_HSCROLL, SB_THUMBPOSITION, 300);
  Scroll(WM_VSCROLL, SB_THUMBPOSITION, 200);
  const int px = 157 + 300;
  const int py = 211 + 200;
  MoveMouse(157, 211);
  struct Step {
    int notches;
    int zoom;
  };
  for (const Step step :
       {Step{1, 2}, Step{2, 4}, Step{4, 8}, Step{5, 8}, Step{-3, 5}, Step{-1, 4}, Step{-9, 1}}) {
    CtrlWheel(157, 211, step.notches);
    ASSERT_EQ(MainWindowState.view.zoom, step.zoom);
    EXPECT_EQ((157 + MainWindowState.view.horizontal.offset) / step.zoom, px) << step.zoom;
    EXPECT_EQ((211 + MainWindowState.view.vertical.offset) / step.zoom, py) << step.zoom;
    // The bars: range in screen pixels, position where the view stands.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(window(), SB_HORZ, &info));
    EXPECT_EQ(info.nMax, 1200 * step.zoom - 1);
    EXPECT_EQ(info.nPos, MainWindowState.view.horizontal.offset);
    EXPECT_EQ(korvanth::platform::StandardScrollBar(window(), SB_VERT)->value(),
              MainWindowState.view.vertical.offset);
    EXPECT_EQ(CheckedZoomItem(), kZoom1 + step.zoom - 1);
  }
  // The pointer's cell is still the block's cell: the block did not move on the picture.
  EXPECT_EQ(MainWindowState.view.cursor.column, px / 32);
  EXPECT_EQ(MainWindowState.view.cursor.row, py / 32);
}

TEST_F(ZoomTest, WhereTheViewCannotFollowTheWheelTheBlockGoesUnderThePointer) {
  // A picture that fits the client area at 1x and 2x: the view cannot scroll to keep the
  // pixel under the pointer, so the pointer comes to lie over another cell.
  const QImage picture = PatternImage(256, 192, false);
  Load(SavePicture(picture, "fits.png"));
  struct Step {
    int notches;
    int x, y;  // the pointer, client pixels
  };
  for (const Step step : {Step{1, 157, 189}, Step{1, 40, 300}, Step{2, 300, 100}, Step{-3, 100, 60},
                          Step{3, 450, 420}}) {
    MoveMouse(step.x, step.y);
    CtrlWheel(step.x, step.y, step.notches);
    const int zoom = MainWindowState.view.zoom;
    SCOPED_TRACE(zoom);
    // The pointer's picture pixel, from the screen position alone.
    const int px = (step.x + MainWindowState.view.horizontal.offset) / zoom;
    const int py = (step.y + MainWindowState.view.vertical.offset) / zoom;
    EXPECT_EQ(MainWindowState.view.cursor.column, px / 32);
    EXPECT_EQ(MainWindowState.view.cursor.row, py / 32);
    Paint();
    // The terrain block (64 x 96) on that cell, pulled back inside the picture.
    EXPECT_EQ(SelectionOrigin(MainWindowState).x, std::min(px / 32 * 32, 256 - 64));
    EXPECT_EQ(SelectionOrigin(MainWindowState).y, std::min(py / 32 * 32, 192 - 96));
  }
}

TEST_F(ZoomTest, WheelWithoutCtrlAndHalfNotchesDoNotZoomAtOnce) {
  Load(SavePicture(PatternImage(300, 300, false), "small.png"));
  QWheelEvent plain(QPointF(50, 50), client()->mapToGlobal(QPointF(50, 50)), QPoint(),
                    QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(client(), &plain);
  EXPECT_EQ(MainWindowState.view.zoom, 1);
  for (int part = 0; part < 2; ++part) {
    QWheelEvent half(QPointF(50, 50), client()->mapToGlobal(QPointF(50, 50)), QPoint(),
                     QPoint(0, 60), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(client(), &half);
    EXPECT_EQ(MainWindowState.view.zoom, part == 0 ? 1 : 2);
  }
}

TEST_F(ZoomTest, KeysAndMenuStepTheZoom) {
  Load(SavePicture(PatternImage(300, 300, false), "keys.png"));
  CtrlKey(Qt::Key_Plus);
  CtrlKey(Qt::Key_Equal);  // the unshifted '+' key
  EXPECT_EQ(MainWindowState.view.zoom, 3);
  CtrlKey(Qt::Key_Minus);
  EXPECT_EQ(MainWindowState.view.zoom, 2);
  CtrlKey(Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(MainWindowState.view.zoom, 3);
  QTest::keyClick(client(), Qt::Key_Plus);  // without Ctrl: nothing
  EXPECT_EQ(MainWindowState.view.zoom, 3);
  CtrlKey(Qt::Key_0);
  EXPECT_EQ(MainWindowState.view.zoom, 1);
  CtrlKey(Qt::Key_Minus);
  EXPECT_EQ(MainWindowState.view.zoom, 1);  // 1x is the smallest step
  Command(kZoom1 + 7);
  EXPECT_EQ(MainWindowState.view.zoom, 8);
  EXPECT_EQ(CheckedZoomItem(), kZoom1 + 7);
  CtrlKey(Qt::Key_Plus);
  EXPECT_EQ(MainWindowState.view.zoom, 8);  // 8x is the largest
}

// Zooming from the keyboard or the menu (around the middle of the view) keeps the whole
// block in sight, wherever it stood.
TEST_F(ZoomTest, KeyAndMenuZoomsKeepTheBlockInView) {
  Load(SavePicture(PatternImage(700, 600, false), "wide.png"));
  struct Case {
    QPoint pointer;  // at 1x, unscrolled
    std::function<void()> zoom;
    int zoomAfter;
  };
  const Case cases[] = {
      {{5, 5}, [this] { CtrlKey(Qt::Key_Plus); }, 2},      // the picture's corner
      {{480, 480}, [this] { CtrlKey(Qt::Key_Plus); }, 2},  // far from the corner
      {{5, 5}, [this] { Command(kZoom1 + 3); }, 4},        // the menu
      {{300, 5}, [this] { Command(kZoom1 + 2); }, 3},      // the top edge's middle
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.zoomAfter);
    Command(kZoom1);
    Scroll(WM_HSCROLL, SB_TOP);
    Scroll(WM_VSCROLL, SB_TOP);
    MoveMouse(120, 120);
    MoveMouse(c.pointer.x(), c.pointer.y());
    c.zoom();
    ASSERT_EQ(MainWindowState.view.zoom, c.zoomAfter);
    const QRect block = BlockOnScreen(64, 96).adjusted(1, 1, -1, -1);
    const RECT client = ClientRect();
    EXPECT_TRUE(QRect(0, 0, client.right, client.bottom).contains(block))
        << block.x() << "," << block.y() << " " << block.width() << " x " << block.height();
  }
}

TEST_F(ZoomTest, GridStaysOneScreenPixelWideAtThreeTimes) {
  // Dark on the left, light on the right: lines turn white, then black.
  QImage picture(400, 300, QImage::Format_ARGB32);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) picture.setPixel(x, y, x < 200 ? 0xFF102030 : 0xFFE0D0C0);
  Load(SavePicture(picture, "halves.png"));
  Command(kZoom1 + 2);
  Scroll(WM_HSCROLL, SB_THUMBPOSITION, 290);
  Scroll(WM_VSCROLL, SB_THUMBPOSITION, 97);
  MoveMouse(500, 500);  // the block goes to the picture's far corner
  ASSERT_EQ(MainWindowState.view.horizontal.offset, 290);
  ASSERT_EQ(MainWindowState.view.vertical.offset, 97);
  ExpectView(picture, BlockOnScreen(64, 96));
  // The expectation's own reading at a few places: a line at picture x 128 is screen x
  // 384 - 290 = 94, one pixel wide; at picture y 64, screen y 192 - 97 = 95.
  const QImage shown = Paint();
  EXPECT_EQ(shown.pixel(94, 20), kWhite);
  EXPECT_EQ(shown.pixel(93, 20), 0xFF102030u);
  EXPECT_EQ(shown.pixel(95, 20), 0xFF102030u);
  EXPECT_EQ(shown.pixel(20, 95), kWhite);
  EXPECT_EQ(shown.pixel(20, 96), 0xFF102030u);
  EXPECT_EQ(shown.pixel(672 - 290, 20), kBlack);  // picture x 224 on the light half
}

TEST_F(ZoomTest, EveryZoomShowsThePictureWithAOnePixelGridWhileScrolled) {
  const QImage picture = PatternImage(700, 600, false);
  Load(SavePicture(picture, "zooms.png"));
  for (int zoom = kMinZoom; zoom <= kMaxZoom; ++zoom) {
    SCOPED_TRACE(zoom);
    Command(kZoom1 + zoom - 1);
    ASSERT_EQ(MainWindowState.view.zoom, zoom);
    // Offsets that are not whole picture pixels, so lines fall inside the view.
    Scroll(WM_HSCROLL, SB_THUMBPOSITION, 61 * zoom + 1);
    Scroll(WM_VSCROLL, SB_THUMBPOSITION, 43 * zoom + zoom - 1);
    MoveMouse(20, 20);
    if (zoom > 1) {
      ASSERT_NE(MainWindowState.view.horizontal.offset % zoom, 0);
      ASSERT_NE(MainWindowState.view.vertical.offset % zoom, 0);
    }
    ExpectView(picture, BlockOnScreen(64, 96));
    if (HasFatalFailure()) return;
  }
}

TEST_F(ZoomTest, StepsOutFromTheFarCornerWithBarsAndViewTogether) {
  const QImage picture = PatternImage(700, 600, false);
  Load(SavePicture(picture, "corner.png"));
  Command(kZoom1 + 7);
  Scroll(WM_HSCROLL, SB_BOTTOM);
  Scroll(WM_VSCROLL, SB_BOTTOM);
  const RECT client = ViewRect();
  // The pointer near the far corner: the block is pulled back against it, so every zoom
  // that keeps the block in view keeps the view there.
  const int pointerX = client.right - 30;
  const int pointerY = client.bottom - 30;
  MoveMouse(pointerX, pointerY);
  for (int zoom = kMaxZoom; zoom >= kMinZoom; --zoom) {
    SCOPED_TRACE(zoom);
    ASSERT_EQ(MainWindowState.view.zoom, zoom);
    // Each bar: range of the zoomed picture, page of the client area, position where the
    // view stands, which never passes the range's end.
    for (auto [bar, extent, page, offset] :
         {std::tuple{SB_HORZ, 700 * zoom, static_cast<int>(client.right),
                     MainWindowState.view.horizontal.offset},
          std::tuple{SB_VERT, 600 * zoom, static_cast<int>(client.bottom),
                     MainWindowState.view.vertical.offset}}) {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_ALL;
      ASSERT_TRUE(GetScrollInfo(window(), bar, &info));
      EXPECT_EQ(info.nMax, extent - 1);
      EXPECT_EQ(static_cast<int>(info.nPage), page);
      EXPECT_EQ(info.nPos, offset);
      EXPECT_EQ(korvanth::platform::StandardScrollBar(window(), bar)->value(), offset);
      EXPECT_EQ(offset, std::max(0, extent - page)) << "the view stays at the far corner";
    }
    MoveMouse(pointerX, pointerY);
    ExpectView(picture, BlockOnScreen(64, 96));
    if (HasFatalFailure()) return;
    CtrlKey(Qt::Key_Minus);
  }
}

struct ClickCase {
  int zoom;
  int thumbX, thumbY;
  int pointerX, pointerY;
  UINT formatCommand;
  int blockWidth, blockHeight;
  LayoutFormat format;
};

class ZoomedClickTest : public ZoomTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ZoomedClickTest, ClickConvertsExactlyTheBlockShown) {
  const ClickCase c = GetParam();
  const QImage picture = PatternImage(700, 600, false);
  Load(SavePicture(picture, "tiles.png"));
  Command(c.formatCommand);
  Command(kZoom1 + c.zoom - 1);
  Scroll(WM_HSCROLL, SB_THUMBPOSITION, c.thumbX);
  Scroll(WM_VSCROLL, SB_THUMBPOSITION, c.thumbY);
  MoveMouse(c.pointerX, c.pointerY);
  const int offsetX = MainWindowState.view.horizontal.offset;
  const int offsetY = MainWindowState.view.vertical.offset;
  ASSERT_GT(offsetX, 0);
  ASSERT_GT(offsetY, 0);

  // The block's cell from the pointer's picture pixel, pulled back inside the picture.
  const int column = (c.pointerX + offsetX) / c.zoom / 32;
  const int row = (c.pointerY + offsetY) / c.zoom / 32;
  const int x = std::min(column * 32, 700 - c.blockWidth);
  const int y = std::min(row * 32, 600 - c.blockHeight);
  Paint();
  ASSERT_EQ(SelectionOrigin(MainWindowState).x, x);
  ASSERT_EQ(SelectionOrigin(MainWindowState).y, y);

  // Inside the block's edge the fill tints the picture; just outside it does not.
  const QImage shown = Paint();
  const int left = x * c.zoom - offsetX;
  const int top = y * c.zoom - offsetY;
  const QRect client(QPoint(0, 0), shown.size());
  const auto tinted = [&](int sx, int sy) {
    const QRgb under = ExpectedViewPixel(picture, c.zoom, offsetX, offsetY, sx, sy, 0xFF808080);
    return shown.pixel(sx, sy) != under && qRed(shown.pixel(sx, sy)) >= 128;
  };
  for (QPoint inside : {QPoint(left + 2, top + 2),
                        QPoint(left + c.blockWidth * c.zoom - 3, top + c.blockHeight * c.zoom - 3)})
    if (client.contains(inside)) {
      EXPECT_TRUE(tinted(inside.x(), inside.y())) << inside.x();
    }
  for (QPoint outside : {QPoint(left - 3, top + 5), QPoint(left + 5, top - 3),
                         QPoint(left + c.blockWidth * c.zoom + 2, top + 5)})
    if (client.contains(outside)) {
      EXPECT_EQ(shown.pixel(outside), ExpectedViewPixel(picture, c.zoom, offsetX, offsetY,
                                                        outside.x(), outside.y(), 0xFF808080));
    }
  ExpectView(picture, BlockOnScreen(c.blockWidth, c.blockHeight));

  const QImage sheet = ClickAndSave(c.pointerX, c.pointerY, "sheet.png");
  EXPECT_EQ(FirstDifference(ExpectedSheet(picture, c.format, x, y), sheet), "");
}

INSTANTIATE_TEST_SUITE_P(
    ScrolledViews, ZoomedClickTest,
    ::testing::Values(
        ClickCase{2, 333, 250, 200, 150, IDM_FORMAT_TERRAIN1, 64, 96, LayoutFormat::Terrain1},
        ClickCase{4, 1001, 777, 300, 260, IDM_FORMAT_TERRAIN2, 96, 128, LayoutFormat::Terrain2},
        ClickCase{8, 4000, 3500, 420, 380, IDM_FORMAT_ROOF, 64, 64, LayoutFormat::Roof},
        // At the far corner the block is pulled back inside the picture.
        ClickCase{4, 5000, 5000, 480, 470, IDM_FORMAT_TERRAIN1, 64, 96, LayoutFormat::Terrain1}));

TEST_F(ZoomTest, ZoomWithoutAPictureAppliesToTheNextOne) {
  CtrlWheel(100, 100, 1);
  EXPECT_EQ(MainWindowState.view.zoom, 2);
  Load(SavePicture(PatternImage(400, 300, false), "later.png"));
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(window(), SB_HORZ, &info));
  EXPECT_EQ(info.nMax, 799);
  MoveMouse(300, 300);
  EXPECT_EQ(MainWindowState.view.cursor.column,
            (300 + MainWindowState.view.horizontal.offset) / 64);
}

}  // namespace

namespace {

TEST_F(ZoomTest, NearTheEdgeTheViewStopsAtTheRangeAndTheBarsAgree) {
  Load(SavePicture(PatternImage(320, 320, false), "edge.png"));
  MoveMouse(300, 300);
  CtrlWheel(300, 300, 1);
  ASSERT_EQ(MainWindowState.view.zoom, 2);
  const RECT client = ClientRect();
  // Keeping picture pixel 300 under the pointer would need offset 300; the range ends
  // at 640 - page.
  const int last = 640 - client.right;
  EXPECT_EQ(MainWindowState.view.horizontal.offset, std::min(300, last));
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(window(), SB_HORZ, &info));
  EXPECT_EQ(info.nPos, MainWindowState.view.horizontal.offset);
  EXPECT_EQ(static_cast<int>(info.nPage), client.right);
  const int before = MainWindowState.view.horizontal.offset;
  EXPECT_EQ(korvanth::platform::StandardScrollBar(window(), SB_HORZ)->value(), before);
  // Line steps are screen pixels: one step back moves the view by one.
  Scroll(WM_HSCROLL, SB_LINEUP);
  EXPECT_EQ(MainWindowState.view.horizontal.offset, before - 1);
  // Back to 1x the picture fits: the view returns to the origin.
  CtrlKey(Qt::Key_0);
  EXPECT_EQ(MainWindowState.view.horizontal.offset, 0);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 0);
  ExpectView(PatternImage(320, 320, false), QRect(0, 0, 0, 0).united(BlockOnScreen(64, 96)));
}

}  // namespace
