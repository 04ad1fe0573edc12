// Creating, sizing, closing and destroying the main window.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "window_harness.h"

namespace {

TEST(WindowCreation, SendsCreateSizeShowFocusInThatOrder) {
  TestWindow window;
  ASSERT_NE(window.hwnd(), nullptr);
  const std::vector<UINT> expected{WM_CREATE, WM_SIZE, WM_SHOWWINDOW, WM_SETFOCUS};
  std::vector<UINT> seen;
  for (UINT id : window.messageIds())
    if (id == WM_CREATE || id == WM_SIZE || id == WM_SHOWWINDOW || id == WM_SETFOCUS)
      seen.push_back(id);
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(window.messages().front().message, WM_CREATE);
  const auto shows = window.only(WM_SHOWWINDOW);
  ASSERT_EQ(shows.size(), 1u);
  EXPECT_EQ(shows[0].wParam, static_cast<WPARAM>(TRUE));
  const auto sizes = window.only(WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(sizes[0].lParam), 513);
  EXPECT_EQ(HIWORD(sizes[0].lParam), 513);
  EXPECT_TRUE(window.frame()->isVisible());
  EXPECT_EQ(window.frame()->windowTitle(), QStringLiteral("Korvanth"));
}

TEST(WindowCreation, CreateStructCarriesTheCreationArguments) {
  CREATESTRUCTA seen{};
  std::string className;
  std::string title;
  RECT clientDuringCreate{-1, -1, -1, -1};
  TestWindow::PrepareHandler(
      [&](HWND hwnd, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_CREATE) {
          seen = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
          className = seen.lpszClass;
          title = seen.lpszName;
          GetClientRect(hwnd, &clientDuringCreate);
          return 0;
        }
        return std::nullopt;
      });
  TestWindow window;
  EXPECT_EQ(className, "KorvanthTestClass");
  EXPECT_EQ(title, "Korvanth");
  EXPECT_EQ(static_cast<DWORD>(seen.style), 0x12CF0000u);
  EXPECT_EQ(seen.dwExStyle, 0x210u);
  EXPECT_NE(seen.hMenu, nullptr);
  EXPECT_EQ(seen.hMenu, GetMenu(window.hwnd()));
  EXPECT_EQ(seen.x, CW_USEDEFAULT);
  // The window already has its client area while WM_CREATE runs.
  EXPECT_EQ(clientDuringCreate.right, 513);
  EXPECT_EQ(clientDuringCreate.bottom, 513);
}

TEST(WindowCreation, ClientAreaIsExactlyWhatAdjustWindowRectExWasAskedFor) {
  TestWindow window;
  const RECT client = window.clientRect();
  EXPECT_EQ(client.left, 0);
  EXPECT_EQ(client.top, 0);
  EXPECT_EQ(client.right, 513);
  EXPECT_EQ(client.bottom, 513);
  EXPECT_EQ(window.client()->size(), QSize(513, 513));
  // The menu bar sits above the client area and is as high as the adjustment said.
  auto* menuBar = window.frame()->findChild<QMenuBar*>();
  ASSERT_NE(menuBar, nullptr);
  RECT outer{0, 0, 513, 513};
  AdjustWindowRectEx(&outer, 0x12CF0000, TRUE, 0x210);
  EXPECT_EQ(outer.right - outer.left, window.frame()->width());
  EXPECT_EQ(outer.bottom - outer.top, window.frame()->height());
  EXPECT_EQ(menuBar->height(), -outer.top - 2);
  EXPECT_GE(window.client()->y(), menuBar->height());
  // No bar shows before any range is set.
  EXPECT_FALSE(korvanth::platform::StandardScrollBar(window.hwnd(), SB_HORZ)->isVisible());
  EXPECT_FALSE(korvanth::platform::StandardScrollBar(window.hwnd(), SB_VERT)->isVisible());
}

TEST(WindowCreation, WithoutMenuOrEdgeTheClientAreaStillMatches) {
  TestWindow window(false, 0x12CF0000, 0);
  const RECT client = window.clientRect();
  EXPECT_EQ(client.right, 513);
  EXPECT_EQ(client.bottom, 513);
  EXPECT_EQ(window.frame()->size(), QSize(513, 513));
  EXPECT_EQ(GetMenu(window.hwnd()), nullptr);
}

TEST(WindowCreation, ResizingTheFrameReportsTheNewClientSize) {
  TestWindow window;
  window.clear();
  window.frame()->resize(window.frame()->width() + 100, window.frame()->height() + 50);
  QCoreApplication::processEvents();
  const auto sizes = window.only(WM_SIZE);
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(LOWORD(sizes.back().lParam), 613);
  EXPECT_EQ(HIWORD(sizes.back().lParam), 563);
  EXPECT_EQ(window.clientRect().right, 613);
  EXPECT_EQ(window.clientRect().bottom, 563);
}

TEST(WindowCreation, CreateAnswerOfMinusOneRefusesTheWindow) {
  TestWindow::PrepareHandler([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_CREATE) return -1;
    return std::nullopt;
  });
  TestWindow refused;
  EXPECT_EQ(refused.hwnd(), nullptr);
  EXPECT_TRUE(refused.only(WM_SIZE).empty());
  EXPECT_TRUE(refused.only(WM_SHOWWINDOW).empty());
  // Windows destroys what it had begun: WM_DESTROY follows the refusal.
  EXPECT_EQ(refused.only(WM_DESTROY).size(), 1u);
}

TEST(WindowCreation, UnknownClassGivesNoWindow) {
  EXPECT_EQ(
      CreateWindowExA(0, "NoSuchClass", "x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
      nullptr);
}

TEST(WindowCreation, ClassRegistrationRejectsDuplicatesAndBadRecords) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &TestWindow::Procedure;
  windowClass.lpszClassName = "KorvanthDuplicate";
  const ATOM atom = RegisterClassExA(&windowClass);
  EXPECT_NE(atom, 0);
  EXPECT_EQ(RegisterClassExA(&windowClass), 0);
  windowClass.cbSize = 12;
  windowClass.lpszClassName = "KorvanthBadSize";
  EXPECT_EQ(RegisterClassExA(&windowClass), 0);
  EXPECT_EQ(RegisterClassExA(nullptr), 0);
  // The atom names the class as well as its name does.
  HWND byAtom = CreateWindowExA(0, MAKEINTRESOURCEA(atom), "x", 0, 0, 0, 50, 50, nullptr, nullptr,
                                nullptr, nullptr);
  EXPECT_NE(byAtom, nullptr);
  EXPECT_TRUE(DestroyWindow(byAtom));
  korvanth::platform::FlushDestroyedWindows();
}

TEST(WindowCreation, HiddenWindowShowsOnShowWindow) {
  TestWindow window(true, WS_OVERLAPPEDWINDOW, 0x210);
  EXPECT_FALSE(window.frame()->isVisible());
  EXPECT_TRUE(window.only(WM_SHOWWINDOW).empty());
  EXPECT_FALSE(IsWindowVisible(window.hwnd()));
  EXPECT_FALSE(ShowWindow(window.hwnd(), SW_SHOWNORMAL));
  EXPECT_TRUE(window.frame()->isVisible());
  ASSERT_EQ(window.only(WM_SHOWWINDOW).size(), 1u);
  EXPECT_EQ(window.only(WM_SHOWWINDOW)[0].wParam, static_cast<WPARAM>(TRUE));
  EXPECT_EQ(window.only(WM_SETFOCUS).size(), 1u);
  EXPECT_TRUE(ShowWindow(window.hwnd(), SW_HIDE));
  EXPECT_FALSE(window.frame()->isVisible());
  ASSERT_EQ(window.only(WM_SHOWWINDOW).size(), 2u);
  EXPECT_EQ(window.only(WM_SHOWWINDOW)[1].wParam, static_cast<WPARAM>(FALSE));
}

TEST(WindowClose, CloseBoxSendsWmCloseAndDefaultProcessingDestroys) {
  TestWindow window;
  window.clear();
  QPointer<QWidget> frame = window.frame();
  EXPECT_TRUE(window.frame()->close() == false || !IsWindow(window.hwnd()));
  const std::vector<UINT> ids = window.messageIds();
  ASSERT_FALSE(ids.empty());
  EXPECT_EQ(ids.front(), static_cast<UINT>(WM_CLOSE));
  EXPECT_EQ(window.only(WM_DESTROY).size(), 1u);
  EXPECT_FALSE(IsWindow(window.hwnd()));
  EXPECT_FALSE(frame->isVisible());
  korvanth::platform::FlushDestroyedWindows();
  EXPECT_TRUE(frame.isNull());
}

TEST(WindowClose, CloseHandledByTheProcedureKeepsTheWindow) {
  TestWindow window;
  window.setHandler([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_CLOSE) return 0;
    return std::nullopt;
  });
  window.clear();
  EXPECT_FALSE(window.frame()->close());
  EXPECT_EQ(window.only(WM_CLOSE).size(), 1u);
  EXPECT_TRUE(window.only(WM_DESTROY).empty());
  EXPECT_TRUE(IsWindow(window.hwnd()));
  EXPECT_TRUE(window.frame()->isVisible());
}

TEST(WindowClose, SendMessageCloseRunsBeforeItReturns) {
  TestWindow window;
  window.clear();
  EXPECT_EQ(SendMessageA(window.hwnd(), WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(IsWindow(window.hwnd()));
  EXPECT_EQ(window.only(WM_DESTROY).size(), 1u);
  // A destroyed window answers nothing and is not destroyed twice.
  EXPECT_FALSE(DestroyWindow(window.hwnd()));
  EXPECT_EQ(SendMessageA(window.hwnd(), WM_USER, 1, 2), 0);
  RECT rect{7, 7, 7, 7};
  EXPECT_FALSE(GetClientRect(window.hwnd(), &rect));
  EXPECT_EQ(rect.left, 7);
  EXPECT_EQ(GetMenu(window.hwnd()), nullptr);
  const auto after = window.messages().size();
  SendMessageA(window.hwnd(), WM_USER, 0, 0);
  EXPECT_EQ(window.messages().size(), after);
}

TEST(WindowClose, DestroyWindowFromInsideTheCloseEventIsSafe) {
  TestWindow window;
  window.setHandler([](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_CLOSE) {
      DestroyWindow(hwnd);
      // Messages to it after that are ignored, not crashes.
      SendMessageA(hwnd, WM_USER, 0, 0);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    return std::nullopt;
  });
  window.frame()->close();
  EXPECT_FALSE(IsWindow(window.hwnd()));
  EXPECT_TRUE(window.only(WM_USER).empty());
}

TEST(WindowStock, GreyBrushIconAndCursor) {
  auto* grey = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  ASSERT_NE(grey, nullptr);
  // The program has no icon of its own; the system has its default one.
  EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(32512)), nullptr);
  EXPECT_NE(LoadIconA(nullptr, MAKEINTRESOURCEA(32512)), nullptr);
  EXPECT_NE(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)), nullptr);
  EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(GetStockObject(99), nullptr);
}

TEST(WindowText, SetWindowTextChangesTheTitle) {
  TestWindow window;
  EXPECT_TRUE(SetWindowTextA(window.hwnd(), "地形 sheet"));
  EXPECT_EQ(window.frame()->windowTitle(), QString::fromUtf8("地形 sheet"));
}

}  // namespace
