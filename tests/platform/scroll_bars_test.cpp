// The standard scroll bars: what SetScrollInfo stores and returns, showing and hiding
// with the WM_SIZE that follows, and the user's actions on the real QScrollBar.
#include <QApplication>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "window_harness.h"

namespace {

int BarExtent(QScrollBar* bar) {
  return bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
}

QRect PartOf(QScrollBar* bar, QStyle::SubControl part) {
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.subControls = QStyle::SC_None;
  option.activeSubControls = QStyle::SC_None;
  option.orientation = bar->orientation();
  option.minimum = bar->minimum();
  option.maximum = bar->maximum();
  option.sliderPosition = bar->sliderPosition();
  option.sliderValue = bar->value();
  option.singleStep = bar->singleStep();
  option.pageStep = bar->pageStep();
  option.upsideDown = false;
  if (bar->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
  return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

struct Request {
  int code;
  int position;
  bool operator==(const Request&) const = default;
};

std::vector<Request> Requests(const TestWindow& window, UINT message) {
  std::vector<Request> found;
  for (const Message& m : window.only(message))
    found.push_back({LOWORD(m.wParam), static_cast<short>(HIWORD(m.wParam))});
  return found;
}

std::vector<int> Codes(const TestWindow& window, UINT message) {
  std::vector<int> codes;
  for (const Request& r : Requests(window, message)) codes.push_back(r.code);
  return codes;
}

TEST(ScrollInfo, ReturnsThePositionClampedAsWindowsDoes) {
  TestWindow window;
  struct Case {
    int min, max;
    UINT page;
    int pos, expected;
  } cases[] = {
      {0, 1023, 513, 2000, 511},  // past the end: the last page
      {0, 1023, 513, 511, 511},  {0, 1023, 513, 400, 400},
      {0, 1023, 513, -5, 0},     // below the start
      {0, 255, 513, 100, 0},     // page larger than the range: nothing to scroll
      {0, 513, 513, 5, 1},       // one pixel more than the page
      {0, -1, 513, 5, 0},        // inverted range (a 0 x 0 picture)
      {0, 1023, 0, 1023, 1023},  // no page yet: every position reachable
      {10, 20, 5, 0, 10},        {10, 20, 5, 30, 16},
  };
  for (const Case& c : cases) {
    const SCROLLINFO info = FullInfo(c.min, c.max, c.page, c.pos);
    EXPECT_EQ(SetScrollInfo(window.hwnd(), SB_VERT, &info, TRUE), c.expected)
        << c.min << ".." << c.max << " page " << c.page << " pos " << c.pos;
    SCROLLINFO back{};
    back.cbSize = sizeof back;
    back.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(window.hwnd(), SB_VERT, &back));
    EXPECT_EQ(back.nPos, c.expected);
    EXPECT_EQ(back.nTrackPos, c.expected);
    EXPECT_EQ(back.nMin, c.min);
    EXPECT_EQ(back.nMax, c.max);
  }
}

TEST(ScrollInfo, PageIsStoredClampedToTheRange) {
  TestWindow window;
  SCROLLINFO info = FullInfo(0, 255, 513, 0);
  SetScrollInfo(window.hwnd(), SB_HORZ, &info, FALSE);
  SCROLLINFO back{};
  back.cbSize = sizeof back;
  back.fMask = SIF_PAGE;
  ASSERT_TRUE(GetScrollInfo(window.hwnd(), SB_HORZ, &back));
  EXPECT_EQ(back.nPage, 256u);
}

TEST(ScrollInfo, MaskedFieldsOnlyAndThePositionReclampedOnRangeChanges) {
  TestWindow window;
  SCROLLINFO info = FullInfo(0, 1023, 513, 400);
  ASSERT_EQ(SetScrollInfo(window.hwnd(), SB_VERT, &info, FALSE), 400);
  SCROLLINFO range{};
  range.cbSize = sizeof range;
  range.fMask = SIF_RANGE;
  range.nMin = 0;
  range.nMax = 600;
  range.nPos = 9999;  // not in the mask: ignored
  EXPECT_EQ(SetScrollInfo(window.hwnd(), SB_VERT, &range, FALSE), 88);
  SCROLLINFO back{};
  back.cbSize = sizeof back;
  back.fMask = SIF_ALL;
  GetScrollInfo(window.hwnd(), SB_VERT, &back);
  EXPECT_EQ(back.nPage, 513u);
  EXPECT_EQ(back.nMax, 600);
}

TEST(ScrollInfo, BadArgumentsAreRefused) {
  TestWindow window;
  SCROLLINFO info = FullInfo(0, 1023, 100, 50);
  info.cbSize = 12;
  EXPECT_EQ(SetScrollInfo(window.hwnd(), SB_VERT, &info, TRUE), 0);
  EXPECT_FALSE(korvanth::platform::StandardScrollBar(window.hwnd(), SB_VERT)->isVisible());
  info.cbSize = sizeof info;
  EXPECT_EQ(SetScrollInfo(window.hwnd(), SB_CTL, &info, TRUE), 0);
  EXPECT_EQ(SetScrollInfo(window.hwnd(), 7, &info, TRUE), 0);
  EXPECT_EQ(SetScrollInfo(window.hwnd(), SB_VERT, nullptr, TRUE), 0);
  EXPECT_EQ(SetScrollInfo(nullptr, SB_VERT, &info, TRUE), 0);
  EXPECT_FALSE(GetScrollInfo(window.hwnd(), SB_VERT, nullptr));
  // The record without nTrackPos is accepted and nTrackPos is never written then.
  struct {
    SCROLLINFO info;
    int guard;
  } shortRecord{};
  shortRecord.info.cbSize = sizeof(SCROLLINFO) - sizeof(int);
  shortRecord.info.fMask = SIF_ALL;
  shortRecord.info.nTrackPos = 12345;
  EXPECT_TRUE(GetScrollInfo(window.hwnd(), SB_VERT, &shortRecord.info));
  EXPECT_EQ(shortRecord.info.nTrackPos, 12345);
}

TEST(ScrollBarsShown, ShowingABarSendsWmSizeFromInsideSetScrollInfo) {
  TestWindow window;
  QScrollBar* vertical = korvanth::platform::StandardScrollBar(window.hwnd(), SB_VERT);
  const int extent = BarExtent(vertical);
  window.clear();
  const SCROLLINFO info = FullInfo(0, 1023, 513, 0);
  EXPECT_EQ(SetScrollInfo(window.hwnd(), SB_VERT, &info, FALSE), 0);
  // Delivered before SetScrollInfo returned.
  const auto sizes = window.only(WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(sizes[0].lParam), 513 - extent);
  EXPECT_EQ(HIWORD(sizes[0].lParam), 513);
  EXPECT_EQ(window.clientRect().right, 513 - extent);
  EXPECT_TRUE(vertical->isVisible());
  EXPECT_EQ(vertical->minimum(), 0);
  EXPECT_EQ(vertical->maximum(), 1023 - 512);
  EXPECT_EQ(vertical->pageStep(), 513);
  EXPECT_EQ(vertical->geometry().left(), window.client()->geometry().right() + 1);

  // Same state again: nothing changes, no WM_SIZE.
  window.clear();
  SetScrollInfo(window.hwnd(), SB_VERT, &info, FALSE);
  EXPECT_TRUE(window.only(WM_SIZE).empty());

  // A range the page covers hides the bar and gives the width back.
  const SCROLLINFO small = FullInfo(0, 255, 513, 0);
  SetScrollInfo(window.hwnd(), SB_VERT, &small, FALSE);
  ASSERT_EQ(window.only(WM_SIZE).size(), 1u);
  EXPECT_EQ(LOWORD(window.only(WM_SIZE)[0].lParam), 513);
  EXPECT_FALSE(vertical->isVisible());
  EXPECT_EQ(window.clientRect().right, 513);
}

TEST(ScrollBarsShown, HorizontalBarTakesHeight) {
  TestWindow window;
  QScrollBar* horizontal = korvanth::platform::StandardScrollBar(window.hwnd(), SB_HORZ);
  window.clear();
  const SCROLLINFO info = FullInfo(0, 799, 513, 50);
  EXPECT_EQ(SetScrollInfo(window.hwnd(), SB_HORZ, &info, FALSE), 50);
  EXPECT_TRUE(horizontal->isVisible());
  EXPECT_EQ(window.clientRect().bottom, 513 - BarExtent(horizontal));
  EXPECT_EQ(window.clientRect().right, 513);
  EXPECT_EQ(horizontal->value(), 50);
}

// A WM_SIZE handler that sets both pages from the client area, as the viewer does:
// showing one bar shrinks the other axis and nests WM_SIZE inside SetScrollInfo.
TEST(ScrollBarsShown, NestedResizesFromTheSizeHandlerSettle) {
  int depth = 0;
  int deepest = 0;
  TestWindow::PrepareHandler(
      [&](HWND hwnd, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message != WM_SIZE) return std::nullopt;
        ++depth;
        deepest = std::max(deepest, depth);
        RECT client;
        GetClientRect(hwnd, &client);
        EXPECT_EQ(LOWORD(lParam), client.right);
        EXPECT_EQ(HIWORD(lParam), client.bottom);
        SCROLLINFO horizontal = FullInfo(0, 519, static_cast<UINT>(client.right), 0);
        SetScrollInfo(hwnd, SB_HORZ, &horizontal, FALSE);
        GetClientRect(hwnd, &client);
        SCROLLINFO vertical = FullInfo(0, 509, static_cast<UINT>(client.bottom), 0);
        SetScrollInfo(hwnd, SB_VERT, &vertical, FALSE);
        --depth;
        return 0;
      });
  TestWindow window;
  // 520 x 510 in 513 x 513: the horizontal bar is needed, which then makes the
  // vertical one needed too.
  EXPECT_TRUE(korvanth::platform::StandardScrollBar(window.hwnd(), SB_HORZ)->isVisible());
  EXPECT_TRUE(korvanth::platform::StandardScrollBar(window.hwnd(), SB_VERT)->isVisible());
  EXPECT_GE(deepest, 2);
  const auto sizes = window.only(WM_SIZE);
  ASSERT_FALSE(sizes.empty());
  const int extent = BarExtent(korvanth::platform::StandardScrollBar(window.hwnd(), SB_VERT));
  EXPECT_EQ(window.clientRect().right, 513 - extent);
  EXPECT_EQ(window.clientRect().bottom, 513 - extent);
  // The last size any handler heard of is the real one.
  EXPECT_EQ(LOWORD(sizes.back().lParam), 513 - extent);
  EXPECT_EQ(HIWORD(sizes.back().lParam), 513 - extent);
}

class UserScrolling : public ::testing::Test {
 protected:
  void SetUp() override {
    const SCROLLINFO info = FullInfo(0, 1023, 513, 100);
    ASSERT_EQ(SetScrollInfo(window.hwnd(), SB_VERT, &info, TRUE), 100);
    bar = korvanth::platform::StandardScrollBar(window.hwnd(), SB_VERT);
    ASSERT_TRUE(bar->isVisible());
    window.clear();
  }
  TestWindow window;
  QScrollBar* bar = nullptr;
};

TEST_F(UserScrolling, ActionsArriveAsRequestsAndTheBarStaysPut) {
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  bar->triggerAction(QAbstractSlider::SliderPageStepSub);
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  const std::vector<int> expected{SB_LINEDOWN, SB_ENDSCROLL, SB_LINEUP, SB_ENDSCROLL,
                                  SB_PAGEDOWN, SB_ENDSCROLL, SB_PAGEUP, SB_ENDSCROLL,
                                  SB_TOP,      SB_ENDSCROLL, SB_BOTTOM, SB_ENDSCROLL};
  EXPECT_EQ(Codes(window, WM_VSCROLL), expected);
  EXPECT_TRUE(window.only(WM_HSCROLL).empty());
  // Nobody called SetScrollInfo: the bar shows the stored position.
  EXPECT_EQ(bar->value(), 100);
  EXPECT_EQ(bar->sliderPosition(), 100);
}

TEST_F(UserScrolling, ArrowAndTroughClicksWithTheMouse) {
  const QRect down = PartOf(bar, QStyle::SC_ScrollBarAddLine);
  ASSERT_FALSE(down.isEmpty());
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, down.center());
  const QRect trough = PartOf(bar, QStyle::SC_ScrollBarAddPage);
  ASSERT_FALSE(trough.isEmpty());
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, trough.center());
  const QRect up = PartOf(bar, QStyle::SC_ScrollBarSubLine);
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, up.center());
  const std::vector<int> expected{SB_LINEDOWN,  SB_ENDSCROLL, SB_PAGEDOWN,
                                  SB_ENDSCROLL, SB_LINEUP,    SB_ENDSCROLL};
  EXPECT_EQ(Codes(window, WM_VSCROLL), expected);
  EXPECT_EQ(bar->value(), 100);
}

TEST_F(UserScrolling, ThumbDragTracksThenPositionsThenEnds) {
  int trackSeen = -1;
  window.setHandler([&](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_VSCROLL && LOWORD(wParam) == SB_THUMBTRACK) {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(hwnd, SB_VERT, &info);
      trackSeen = info.nTrackPos;
    }
    return std::nullopt;
  });
  const QRect thumb = PartOf(bar, QStyle::SC_ScrollBarSlider);
  ASSERT_FALSE(thumb.isEmpty());
  const QPoint start = thumb.center();
  SendMouse(bar, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  SendMouse(bar, QEvent::MouseMove, start + QPoint(0, 20), Qt::NoButton, Qt::LeftButton);
  SendMouse(bar, QEvent::MouseMove, start + QPoint(0, 60), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(bar->value(), 100);  // the thumb waits for SetScrollInfo
  SendMouse(bar, QEvent::MouseButtonRelease, start + QPoint(0, 60), Qt::LeftButton, Qt::NoButton);
  const auto requests = Requests(window, WM_VSCROLL);
  ASSERT_GE(requests.size(), 4u);
  EXPECT_EQ(requests[0].code, SB_THUMBTRACK);
  EXPECT_GT(requests[0].position, 100);
  EXPECT_EQ(requests[requests.size() - 3].code, SB_THUMBTRACK);
  const int last = requests[requests.size() - 3].position;
  EXPECT_GT(last, requests[0].position);
  EXPECT_EQ(trackSeen, last);
  EXPECT_EQ(requests[requests.size() - 2], (Request{SB_THUMBPOSITION, last}));
  EXPECT_EQ(requests.back().code, SB_ENDSCROLL);
  EXPECT_EQ(bar->value(), 100);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(window.hwnd(), SB_VERT, &info);
  EXPECT_EQ(info.nPos, 100);
  EXPECT_EQ(info.nTrackPos, 100);
}

TEST_F(UserScrolling, APositionStoredByTheProcedureMovesTheBar) {
  // The viewer's way: each request sets the position through SetScrollInfo.
  window.setHandler([](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_VSCROLL && LOWORD(wParam) == SB_LINEDOWN) {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_POS;
      GetScrollInfo(hwnd, SB_VERT, &info);
      info.nPos += 1;
      SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    }
    return std::nullopt;
  });
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(bar->value(), 101);
  const QRect down = PartOf(bar, QStyle::SC_ScrollBarAddLine);
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, down.center());
  EXPECT_EQ(bar->value(), 102);
}

TEST_F(UserScrolling, WheelOverTheBarScrollsByLines) {
  QWheelEvent wheel(QPointF(5, 5), QPointF(bar->mapToGlobal(QPoint(5, 5))), QPoint(),
                    QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(bar, &wheel);
  const std::vector<int> codes = Codes(window, WM_VSCROLL);
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(codes.back(), SB_ENDSCROLL);
  for (size_t i = 0; i + 1 < codes.size(); ++i) EXPECT_EQ(codes[i], SB_LINEDOWN);
  EXPECT_EQ(static_cast<int>(codes.size()) - 1, QApplication::wheelScrollLines());
  EXPECT_EQ(bar->value(), 100);
}

TEST_F(UserScrolling, HorizontalBarSendsWmHscroll) {
  const SCROLLINFO info = FullInfo(0, 2000, 513, 0);
  SetScrollInfo(window.hwnd(), SB_HORZ, &info, TRUE);
  QScrollBar* horizontal = korvanth::platform::StandardScrollBar(window.hwnd(), SB_HORZ);
  window.clear();
  horizontal->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(Codes(window, WM_HSCROLL), (std::vector<int>{SB_PAGERIGHT, SB_ENDSCROLL}));
  EXPECT_TRUE(window.only(WM_VSCROLL).empty());
  EXPECT_EQ(horizontal->value(), 0);
}

}  // namespace
