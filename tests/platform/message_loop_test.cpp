// The message loop: GetMessageA runs Qt's event loop until a posted message waits;
// WM_QUIT ends it.
#include <QTimer>

#include <gtest/gtest.h>

#include "window_harness.h"

namespace {

// The program's loop; returns the quit code.
int RunLoop(MSG& last) {
  while (GetMessageA(&last, nullptr, 0, 0)) {
    TranslateMessage(&last);
    DispatchMessageA(&last);
  }
  return static_cast<int>(last.wParam);
}

TEST(MessageLoop, PostedMessagesAreDispatchedInOrderUntilWmQuit) {
  TestWindow window;
  window.clear();
  QTimer::singleShot(10, [&] {
    PostMessageA(window.hwnd(), WM_USER + 1, 7, 8);
    PostMessageA(window.hwnd(), WM_USER + 2, 9, 10);
  });
  QTimer::singleShot(30, [] { PostQuitMessage(3); });
  MSG last{};
  EXPECT_EQ(RunLoop(last), 3);
  EXPECT_EQ(last.message, static_cast<UINT>(WM_QUIT));
  const auto first = window.only(WM_USER + 1);
  const auto second = window.only(WM_USER + 2);
  ASSERT_EQ(first.size(), 1u);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(first[0].wParam, 7u);
  EXPECT_EQ(first[0].lParam, 8);
  const auto ids = window.messageIds();
  EXPECT_LT(std::find(ids.begin(), ids.end(), static_cast<UINT>(WM_USER + 1)),
            std::find(ids.begin(), ids.end(), static_cast<UINT>(WM_USER + 2)));
}

TEST(MessageLoop, TheCloseSequenceEndsTheLoopWithCodeZero) {
  TestWindow window;
  window.setHandler([](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_CLOSE) {
      DestroyWindow(hwnd);
      PostQuitMessage(0);
      return 0;
    }
    return std::nullopt;
  });
  QPointer<QWidget> frame = window.frame();
  // The user's close box while the loop runs; Qt paints and delivers meanwhile.
  QTimer::singleShot(20, frame, [frame] { frame->close(); });
  MSG last{};
  EXPECT_EQ(RunLoop(last), 0);
  EXPECT_FALSE(IsWindow(window.hwnd()));
  EXPECT_EQ(window.only(WM_DESTROY).size(), 1u);
  // The loop has deleted the destroyed window's widgets.
  EXPECT_TRUE(frame.isNull());
  // Paints requested by showing the window ran inside the loop.
  EXPECT_FALSE(window.only(WM_PAINT).empty());
}

TEST(MessageLoop, MessagesForGoneWindowsAreRefusedOrDropped) {
  HWND gone = nullptr;
  {
    TestWindow window;
    gone = window.hwnd();
    ASSERT_TRUE(PostMessageA(gone, WM_USER, 0, 0));
  }
  EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
  PostQuitMessage(5);
  MSG msg{};
  // The one posted before destruction is still fetched but dispatches to nobody.
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.hwnd, gone);
  EXPECT_EQ(DispatchMessageA(&msg), 0);
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.wParam, 5u);
  EXPECT_EQ(GetMessageA(nullptr, nullptr, 0, 0), -1);
}

TEST(MessageLoop, ThreadMessagesAreFetchedButNotDispatched) {
  PostMessageA(nullptr, WM_USER + 5, 1, 2);
  PostQuitMessage(0);
  MSG msg{};
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 5));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(DispatchMessageA(&msg), 0);
  EXPECT_FALSE(TranslateMessage(&msg));
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
}

}  // namespace
