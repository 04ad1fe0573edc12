// Scrolling the real window: requests through WM_VSCROLL/WM_HSCROLL and the real bars,
// resizes and picture loads, on a 256 x 1024 picture in a 513 x 513 view.
#include <QScrollBar>

#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "platform/linux/window_internals.h"
#include "viewer/scroll_state.h"

using namespace korvanth;

namespace {

class ScrollViewTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    Load(SavePicture(Solid(256, 1024, 0xFF336699), "tall.png"));
    Settle();
  }
};

TEST_F(ScrollViewTest, RangesPagesAndTheClientArea) {
  EXPECT_EQ(MainWindowState.view.vertical.info.nMax, 1023);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPage, 513u);
  EXPECT_EQ(MainWindowState.view.horizontal.info.nMax, 255);
  EXPECT_EQ(MainWindowState.view.horizontal.offset, 0);
  EXPECT_EQ(MainWindowState.view.horizontal.info.nPos, 0);
  // The vertical bar took its room from the client area; the horizontal one is hidden.
  const RECT client = ViewRect();
  EXPECT_EQ(client.bottom, 513);
  EXPECT_LT(client.right, 513);
  EXPECT_EQ(MainWindowState.view.client.right, client.right);
  EXPECT_EQ(MainWindowState.view.client.bottom, client.bottom);
  EXPECT_TRUE(korvanth::platform::StandardScrollBar(window(), SB_VERT)->isVisible());
  EXPECT_FALSE(korvanth::platform::StandardScrollBar(window(), SB_HORZ)->isVisible());
}

TEST_F(ScrollViewTest, BottomThenLineUpsMoveOnlyOnceBackInRange) {
  Scroll(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, 1023);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 511);
  for (int i = 0; i < 512; ++i) Scroll(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, 511);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 511);
  Scroll(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, 510);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 510);
  EXPECT_EQ(MainWindowState.view.vertical.shiftedOffset, 510);
}

TEST_F(ScrollViewTest, LineDownsStopOneBeforeTheRangesEnd) {
  for (int i = 0; i < 511; ++i) {
    Scroll(WM_VSCROLL, SB_LINEDOWN);
    ASSERT_EQ(MainWindowState.view.vertical.offset, i + 1);
  }
  for (int i = 0; i < 600; ++i) Scroll(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, 1022);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 511);
}

TEST_F(ScrollViewTest, PageDownAndUpGiveBackThePosition) {
  Scroll(WM_VSCROLL, SB_THUMBPOSITION, 400);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 400);
  Scroll(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, 913);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 511);
  Scroll(WM_VSCROLL, SB_PAGEUP);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, 400);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 400);
}

TEST_F(ScrollViewTest, NegativeRequestedPositionsKeepTheViewAtTheTop) {
  Scroll(WM_VSCROLL, SB_PAGEUP);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, -513);
  Scroll(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, -514);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 0);
  Scroll(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, -1);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 0);
  Scroll(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, 512);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 511);
}

TEST_F(ScrollViewTest, ThumbDragOnTheRealBar) {
  Scroll(WM_VSCROLL, SB_PAGEUP);  // nPos far outside the range first
  QScrollBar* bar = korvanth::platform::StandardScrollBar(window(), SB_VERT);
  ASSERT_NE(bar, nullptr);
  bar->setSliderDown(true);
  bar->setSliderPosition(300);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, 300);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 300);
  bar->setSliderDown(false);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, 300);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 300);
  EXPECT_EQ(bar->value(), 300);
}

TEST_F(ScrollViewTest, ActionsOfTheRealBarArriveAsRequests) {
  QScrollBar* bar = korvanth::platform::StandardScrollBar(window(), SB_VERT);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 1);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, 514);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 511);
  EXPECT_EQ(bar->value(), 511);
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 0);
}

TEST_F(ScrollViewTest, EndScrollShiftsNothing) {
  Scroll(WM_VSCROLL, SB_THUMBPOSITION, 40);
  const QImage before = Paint();
  const int shifted = MainWindowState.view.vertical.shiftedOffset;
  Scroll(WM_VSCROLL, SB_ENDSCROLL);
  EXPECT_EQ(MainWindowState.view.vertical.shiftedOffset, shifted);
  EXPECT_EQ(Paint(), before);
}

TEST_F(ScrollViewTest, EnlargingTheWindowResetsTheAxisThatFits) {
  Scroll(WM_VSCROLL, SB_THUMBPOSITION, 300);
  ASSERT_EQ(MainWindowState.view.vertical.offset, 300);
  ResizeClient(513, 1100);
  EXPECT_EQ(ViewRect().bottom, 1100);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPage, 1100u);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, 0);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 0);
  EXPECT_EQ(MainWindowState.view.vertical.shiftedOffset, 0);
  EXPECT_FALSE(korvanth::platform::StandardScrollBar(window(), SB_VERT)->isVisible());
  EXPECT_EQ(MainWindowState.view.client.right, 513);
  EXPECT_EQ(MainWindowState.view.client.bottom, 1100);
}

TEST_F(ScrollViewTest, LoadingASmallPictureWhileScrolled) {
  Scroll(WM_VSCROLL, SB_THUMBPOSITION, 400);
  ASSERT_EQ(MainWindowState.view.vertical.offset, 400);
  Load(SavePicture(Solid(100, 100, 0xFF00FF00), "small.png"));
  EXPECT_EQ(MainWindowState.view.vertical.offset, 0);
  EXPECT_EQ(MainWindowState.view.horizontal.offset, 0);
  EXPECT_EQ(MainWindowState.view.vertical.shiftedOffset, 0);
  // The bar went away, and the resize that followed reset the requested position.
  EXPECT_EQ(ClientRect().right, 513);
  EXPECT_EQ(MainWindowState.view.vertical.info.nPos, 0);
}

TEST_F(MainWindowFixture, PictureOneWiderThanTheClient) {
  Load(SavePicture(Solid(514, 100, 0xFF808000), "wide.png"));
  Settle();
  EXPECT_EQ(MainWindowState.view.horizontal.info.nMax, 513);
  EXPECT_EQ(MainWindowState.view.horizontal.info.nPos, 0);
  Scroll(WM_HSCROLL, SB_LINERIGHT);
  EXPECT_EQ(MainWindowState.view.horizontal.offset, 1);
  // A resize resets the requested position because the range fits the page.
  ResizeClient(513, 400);
  EXPECT_EQ(MainWindowState.view.horizontal.info.nPos, 0);
  EXPECT_EQ(MainWindowState.view.horizontal.offset, 0);
}

TEST_F(MainWindowFixture, InitialClientAreaIs513Square) {
  const RECT client = ViewRect();
  EXPECT_EQ(client.right, 513);
  EXPECT_EQ(client.bottom, 513);
  EXPECT_EQ(MainWindowState.view.client.right, 513);
  EXPECT_EQ(MainWindowState.view.client.bottom, 513);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 0);
  EXPECT_EQ(MainWindowState.view.horizontal.offset, 0);
}

}  // namespace
