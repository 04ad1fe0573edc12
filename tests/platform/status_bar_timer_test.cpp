// The status bar control and window timers of the subset: the bar along the bottom of the
// client area with its parts' texts, gone with its parent; WM_TIMER while events run.
#include <QElapsedTimer>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

#include "window_harness.h"

namespace {

HWND CreateStatusBar(HWND parent, DWORD style = WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP) {
  return CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, style, 0, 0, 0, 0, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

std::u16string PartText(HWND bar, int part) {
  const auto length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0));
  std::u16string text(length + 1u, u'?');
  EXPECT_EQ(LOWORD(SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()))),
            length);
  EXPECT_EQ(text.back(), u'\0');
  text.pop_back();
  return text;
}

void RunEvents(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(StatusBarControl, LiesAlongTheClientAreasBottomAndShowsEachPartsText) {
  TestWindow window;
  const INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES};
  EXPECT_TRUE(InitCommonControlsEx(&init));
  HWND bar = CreateStatusBar(window.hwnd());
  ASSERT_NE(bar, nullptr);
  const int rights[] = {120, -1};
  EXPECT_TRUE(SendMessageW(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(rights)));
  EXPECT_TRUE(SendMessageW(bar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(u"保存しました")));
  EXPECT_FALSE(SendMessageW(bar, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(u"no such part")));
  EXPECT_EQ(PartText(bar, 0), u"");
  EXPECT_EQ(PartText(bar, 1), u"保存しました");
  const auto labels = bar->widget()->findChildren<QLabel*>();
  ASSERT_EQ(labels.size(), 2);
  EXPECT_EQ(labels[0]->width(), 120);
  EXPECT_EQ(labels[1]->text(), QString::fromUtf8("保存しました"));

  // It follows the client area when told of the new size, as Windows' bar does.
  window.frame()->resize(window.frame()->width() + 40, window.frame()->height() + 30);
  SendMessageW(bar, WM_SIZE, 0, 0);
  RECT client = window.clientRect();
  RECT outer{};
  ASSERT_TRUE(GetWindowRect(bar, &outer));
  const QPoint origin = window.client()->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(outer.left - origin.x(), 0);
  EXPECT_EQ(outer.right - outer.left, client.right);
  EXPECT_EQ(outer.bottom - origin.y(), client.bottom);
  EXPECT_GT(outer.bottom - outer.top, 10);

  EXPECT_TRUE(ShowWindow(bar, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(bar));
  EXPECT_FALSE(ShowWindow(bar, SW_SHOW));
  EXPECT_TRUE(IsWindowVisible(bar));
  DestroyWindow(window.hwnd());
  EXPECT_FALSE(IsWindow(bar));
  EXPECT_EQ(SendMessageW(bar, SB_GETTEXTLENGTHW, 1, 0), 0);
}

TEST(StatusBarControl, ThePointerOverTheBarIsTheBarsAlone) {
  TestWindow window;
  HWND bar = CreateStatusBar(window.hwnd());
  RunEvents(20);
  window.clear();
  // Sent where a click is hit-tested to: the bar, which the client area's widget holds.
  QTest::mouseClick(bar->widget(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 5));
  QTest::mouseMove(bar->widget(), QPoint(40, 6));
  RunEvents(10);
  EXPECT_TRUE(window.only(WM_LBUTTONDOWN).empty());
  EXPECT_TRUE(window.only(WM_LBUTTONUP).empty());
  EXPECT_TRUE(window.only(WM_MOUSEMOVE).empty());
}

TEST(StatusBarControl, OnlyAStatusBarChildOfALiveWindowIsMade) {
  TestWindow window;
  EXPECT_EQ(CreateStatusBar(nullptr), nullptr);
  EXPECT_EQ(CreateStatusBar(window.hwnd(), WS_VISIBLE), nullptr);  // not a child
  EXPECT_EQ(CreateWindowExW(0, u"Button", nullptr, WS_CHILD, 0, 0, 0, 0, window.hwnd(), nullptr,
                            nullptr, nullptr),
            nullptr);
  HWND hidden = CreateStatusBar(window.hwnd(), WS_CHILD);
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_TRUE(DestroyWindow(hidden));
  EXPECT_FALSE(IsWindow(hidden));
}

TEST(WindowTimers, TickWhileEventsRunUntilKilledOrTheWindowGoes) {
  TestWindow window;
  EXPECT_EQ(SetTimer(nullptr, 7, 10, nullptr), 0u);
  EXPECT_NE(SetTimer(window.hwnd(), 7, 10, nullptr), 0u);
  window.clear();
  RunEvents(120);
  const auto ticks = window.only(WM_TIMER);
  ASSERT_GE(ticks.size(), 2u);
  EXPECT_EQ(ticks[0].wParam, 7u);
  EXPECT_TRUE(KillTimer(window.hwnd(), 7));
  EXPECT_FALSE(KillTimer(window.hwnd(), 7));
  window.clear();
  RunEvents(60);
  EXPECT_TRUE(window.only(WM_TIMER).empty());

  // A handler that kills its own timer gets no tick after it.
  window.setHandler([](HWND hwnd, UINT message, WPARAM id, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_TIMER) KillTimer(hwnd, id);
    return std::nullopt;
  });
  SetTimer(window.hwnd(), 8, 10, nullptr);
  RunEvents(80);
  EXPECT_EQ(window.only(WM_TIMER).size(), 1u);

  SetTimer(window.hwnd(), 9, 10, nullptr);
  HWND gone = window.hwnd();
  DestroyWindow(gone);
  EXPECT_FALSE(KillTimer(gone, 9));
}

}  // namespace
