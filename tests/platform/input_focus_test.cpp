// Mouse messages over the client area, and WM_SETFOCUS when the window gains the focus,
// also after a modal dialog it owns has closed.
#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "window_harness.h"

namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

class Input : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.frame()));
    window.clear();
  }
  TestWindow window;
};

TEST_F(Input, EveryMoveOverTheClientAreaIsReportedInClientPixels) {
  QTest::mouseMove(window.client(), QPoint(10, 20));
  QTest::mouseMove(window.client(), QPoint(300, 7));
  QTest::mouseMove(window.client(), QPoint(300, 7));
  const auto moves = window.only(WM_MOUSEMOVE);
  ASSERT_GE(moves.size(), 2u);
  EXPECT_EQ(LOWORD(moves[0].lParam), 10);
  EXPECT_EQ(HIWORD(moves[0].lParam), 20);
  EXPECT_EQ(LOWORD(moves[1].lParam), 300);
  EXPECT_EQ(HIWORD(moves[1].lParam), 7);
  EXPECT_EQ(moves[0].wParam, 0u);  // no button held
}

TEST_F(Input, MovesWithoutAButtonHeldNeedMouseTracking) {
  // Sent straight to the widget, as the platform delivers a hover.
  SendMouse(window.client(), QEvent::MouseMove, QPoint(512, 512), Qt::NoButton, Qt::NoButton);
  const auto moves = window.only(WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(LOWORD(moves[0].lParam), 512);
  EXPECT_EQ(HIWORD(moves[0].lParam), 512);
  EXPECT_TRUE(window.client()->hasMouseTracking());
}

TEST_F(Input, LeftReleaseOverTheClientArea) {
  QTest::mouseClick(window.client(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 50));
  const auto ups = window.only(WM_LBUTTONUP);
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(LOWORD(ups[0].lParam), 40);
  EXPECT_EQ(HIWORD(ups[0].lParam), 50);
  EXPECT_EQ(ups[0].wParam, 0u);  // the button is up by then
  EXPECT_EQ(window.only(WM_LBUTTONDOWN).size(), 1u);
  // A double click is two ordinary releases.
  QTest::mouseDClick(window.client(), Qt::LeftButton, Qt::NoModifier, QPoint(41, 51));
  QTest::mouseRelease(window.client(), Qt::LeftButton, Qt::NoModifier, QPoint(41, 51));
  EXPECT_EQ(window.only(WM_LBUTTONUP).size(), 2u);
}

TEST_F(Input, OtherButtonsAndPlacesGiveNoLeftRelease) {
  QTest::mouseClick(window.client(), Qt::RightButton, Qt::NoModifier, QPoint(40, 50));
  QTest::mouseClick(window.client(), Qt::MiddleButton, Qt::NoModifier, QPoint(40, 50));
  auto* menuBar = window.frame()->findChild<QMenuBar*>();
  ASSERT_NE(menuBar, nullptr);
  QTest::mouseClick(menuBar, Qt::LeftButton, Qt::NoModifier, QPoint(menuBar->width() - 3, 3));
  // The frame's own pixels (the client edge) are not the client area.
  QTest::mouseClick(window.frame(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(1, window.frame()->height() - 1));
  // Pressed inside, released outside: Qt keeps sending to the client; Windows does not.
  SendMouse(window.client(), QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton,
            Qt::LeftButton);
  SendMouse(window.client(), QEvent::MouseButtonRelease, QPoint(-5, 600), Qt::LeftButton,
            Qt::NoButton);
  EXPECT_TRUE(window.only(WM_LBUTTONUP).empty());
  for (const Message& move : window.only(WM_MOUSEMOVE)) {
    EXPECT_LT(LOWORD(move.lParam), 513);
    EXPECT_LT(HIWORD(move.lParam), 513);
  }
}

TEST_F(Input, ReleaseOverAScrollBarIsNotAClientRelease) {
  const SCROLLINFO info = FullInfo(0, 2000, 513, 0);
  SetScrollInfo(window.hwnd(), SB_VERT, &info, TRUE);
  QScrollBar* bar = korvanth::platform::StandardScrollBar(window.hwnd(), SB_VERT);
  window.clear();
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() / 2, 200));
  EXPECT_TRUE(window.only(WM_LBUTTONUP).empty());
  EXPECT_FALSE(window.only(WM_VSCROLL).empty());
}

TEST_F(Input, ButtonStateTravelsInWParam) {
  SendMouse(window.client(), QEvent::MouseMove, QPoint(5, 6), Qt::NoButton, Qt::LeftButton);
  const auto moves = window.only(WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
}

TEST(Focus, TheNewWindowHasTheFocus) {
  TestWindow window;
  EXPECT_EQ(window.only(WM_SETFOCUS).size(), 1u);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.frame()));
  EXPECT_EQ(GetFocus(), window.hwnd());
  // Qt's activation that follows is not a second gain of the focus.
  EXPECT_EQ(window.only(WM_SETFOCUS).size(), 1u);
}

TEST(Focus, ReturningFromAModalDialogGivesExactlyOneSetFocus) {
  TestWindow window;
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.frame()));
  window.clear();
  QDialog dialog(window.frame());
  QTimer::singleShot(50, &dialog, [&dialog] { dialog.accept(); });
  dialog.exec();
  // What the dialog half does once the dialog has closed.
  korvanth::platform::NotifyFocusReturned(window.hwnd());
  QCoreApplication::processEvents();
  QTest::qWait(20);
  EXPECT_EQ(window.only(WM_SETFOCUS).size(), 1u);
  EXPECT_EQ(window.only(WM_KILLFOCUS).size(), 1u);
  const auto ids = window.messageIds();
  // Lost while the dialog was up, back after it closed.
  EXPECT_LT(std::find(ids.begin(), ids.end(), static_cast<UINT>(WM_KILLFOCUS)),
            std::find(ids.begin(), ids.end(), static_cast<UINT>(WM_SETFOCUS)));
  EXPECT_EQ(GetFocus(), window.hwnd());
}

TEST(Focus, QtActivationAloneAlsoBringsSetFocus) {
  TestWindow first;
  ASSERT_TRUE(QTest::qWaitForWindowActive(first.frame()));
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  first.clear();
  first.frame()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(first.frame()));
  EXPECT_EQ(first.only(WM_SETFOCUS).size(), 1u);
}

TEST(Focus, SetFocusMovesItBetweenWindows) {
  TestWindow window;
  window.clear();
  EXPECT_EQ(SetFocus(window.hwnd()), window.hwnd());
  EXPECT_TRUE(window.only(WM_SETFOCUS).empty());  // it had it already
  SetFocus(nullptr);
  EXPECT_EQ(window.only(WM_KILLFOCUS).size(), 1u);
  SetFocus(window.hwnd());
  EXPECT_EQ(window.only(WM_SETFOCUS).size(), 1u);
  EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(&window)), nullptr);  // not a window
}

TEST(Focus, NotifyingAGoneWindowDoesNothing) {
  HWND gone = nullptr;
  {
    TestWindow window;
    gone = window.hwnd();
  }
  korvanth::platform::NotifyFocusReturned(gone);
  korvanth::platform::NotifyFocusReturned(nullptr);
  EXPECT_FALSE(IsWindow(gone));
}

}  // namespace
