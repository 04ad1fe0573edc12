// Menus built item by item: the menu bar, its replacement, WM_COMMAND and radio marks.
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include "window_harness.h"

namespace {

TEST(MenuBuilding, AppendedItemsMakeTheTree) {
  HMENU menu = CreateTestMenu();
  ASSERT_NE(menu, nullptr);
  // Three popups on the bar, with 3, 3 and 2 entries.
  EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION), static_cast<UINT>(MF_POPUP | (3 << 8)));
  EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION), static_cast<UINT>(MF_POPUP | (3 << 8)));
  EXPECT_EQ(GetMenuState(menu, 2, MF_BYPOSITION), static_cast<UINT>(MF_POPUP | (2 << 8)));
  EXPECT_EQ(GetMenuState(menu, 3, MF_BYPOSITION), static_cast<UINT>(-1));
  for (UINT id = kOpenCommand; id <= kBackgroundCommand; ++id)
    EXPECT_EQ(GetMenuState(menu, id, MF_BYCOMMAND), 0u);
  EXPECT_EQ(GetMenuState(menu, kBackgroundCommand + 1, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(DestroyMenu(menu));  // gone
  EXPECT_EQ(GetMenuState(menu, kOpenCommand, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST(MenuBuilding, APopupJoinsOneMenuOnceAndGoesWithIt) {
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  EXPECT_EQ(AppendTestItem(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(bar), "self"), nullptr);
  EXPECT_EQ(AppendTestItem(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "A"), bar);
  // Owned by the bar now: neither appended again nor destroyed alone.
  EXPECT_EQ(AppendTestItem(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "B"), nullptr);
  EXPECT_FALSE(DestroyMenu(popup));
  EXPECT_EQ(AppendTestItem(popup, MF_STRING, 1, "still filled"), popup);
  EXPECT_EQ(AppendTestItem(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(bar), "loop"), nullptr);
  EXPECT_TRUE(DestroyMenu(bar));
  EXPECT_EQ(AppendTestItem(popup, MF_STRING, 2, "gone with the bar"), nullptr);
  EXPECT_EQ(AppendTestItem(bar, MF_STRING, 1, "dead"), nullptr);
}

TEST(MenuBuilding, TextsAreCopiedAndShownAfterDrawMenuBar) {
  RegisterTestWindowClass();
  HMENU menu = CreateMenu();
  AppendTestItem(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "Temporary(&T)");
  HWND hwnd = CreateWindowExA(0, "KorvanthTestClass", "m", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200,
                              nullptr, menu, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  auto* bar = hwnd->widget()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->actions().size(), 1);
  EXPECT_EQ(bar->actions()[0]->text(), QStringLiteral("Temporary(&T)"));
  AppendTestItem(menu, MF_STRING, 7, "Later(&L)");
  EXPECT_TRUE(DrawMenuBar(hwnd));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  const auto bars = hwnd->widget()->findChildren<QMenuBar*>();
  ASSERT_EQ(bars.size(), 1);
  ASSERT_EQ(bars[0]->actions().size(), 2);
  EXPECT_EQ(bars[0]->actions()[1]->text(), QStringLiteral("Later(&L)"));
  DestroyWindow(hwnd);
  korvanth::platform::FlushDestroyedWindows();
}

TEST(MenuBuilding, SetMenuSwapsTheBarAndTheClientFollows) {
  TestWindow window;
  HMENU old = GetMenu(window.hwnd());
  RECT before{};
  GetClientRect(window.hwnd(), &before);
  EXPECT_TRUE(SetMenu(window.hwnd(), nullptr));
  RECT bare{};
  GetClientRect(window.hwnd(), &bare);
  EXPECT_GT(bare.bottom, before.bottom);  // the bar's height went to the client
  EXPECT_TRUE(DestroyMenu(old));          // no longer shown: the caller's to destroy
  HMENU next = CreateTestMenu();
  EXPECT_TRUE(SetMenu(window.hwnd(), next));
  EXPECT_EQ(GetMenu(window.hwnd()), next);
  EXPECT_FALSE(DestroyMenu(next));  // shown: it goes with the window
  RECT after{};
  GetClientRect(window.hwnd(), &after);
  EXPECT_EQ(after.bottom, before.bottom);
  EXPECT_NE(korvanth::platform::MenuAction(window.hwnd(), kRoofCommand), nullptr);
  // The new bar shows where the old one was (which waits, hidden, for Qt to delete it).
  int shown = 0;
  for (const QMenuBar* bar : window.frame()->findChildren<QMenuBar*>()) shown += bar->isVisible();
  EXPECT_EQ(shown, 1);
}

TEST(MenuBar, ShowsTheJapaneseMenusWithTheirMnemonics) {
  TestWindow window;
  auto* bar = window.frame()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  const auto popups = bar->actions();
  ASSERT_EQ(popups.size(), 3);
  EXPECT_EQ(popups[0]->text(), QString::fromUtf8("ﾌｧｲﾙ(&F)"));
  EXPECT_EQ(popups[1]->text(), QString::fromUtf8("形式(&F)"));
  EXPECT_EQ(popups[2]->text(), QString::fromUtf8("色(&C)"));
  QMenu* file = popups[0]->menu();
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->actions().size(), 3);
  EXPECT_EQ(file->actions()[0]->text(), QString::fromUtf8("開く(&O)..."));
  EXPECT_TRUE(file->actions()[1]->isSeparator());
  EXPECT_EQ(file->actions()[2]->text(), QString::fromUtf8("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"));
  EXPECT_EQ(korvanth::platform::MenuAction(window.hwnd(), kRoofCommand)->text(),
            QString::fromUtf8("屋根(&R)"));
  EXPECT_EQ(korvanth::platform::MenuAction(window.hwnd(), 40099), nullptr);
  EXPECT_NE(GetMenu(window.hwnd()), nullptr);
  // A window shows its menu and owns it.
  EXPECT_FALSE(DestroyMenu(GetMenu(window.hwnd())));
}

TEST(MenuBar, ChoosingAnItemSendsWmCommand) {
  TestWindow window;
  window.clear();
  korvanth::platform::MenuAction(window.hwnd(), kTerrain2Command)->trigger();
  korvanth::platform::MenuAction(window.hwnd(), kOpenCommand)->trigger();
  const auto commands = window.only(WM_COMMAND);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].wParam, MAKEWPARAM(kTerrain2Command, 0));
  EXPECT_EQ(commands[0].lParam, 0);
  EXPECT_EQ(commands[1].wParam, MAKEWPARAM(kOpenCommand, 0));
}

TEST(MenuBar, ChoosingAnItemThroughTheOpenPopup) {
  TestWindow window;
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.frame()));
  window.clear();
  auto* bar = window.frame()->findChild<QMenuBar*>();
  QMenu* format = bar->actions()[1]->menu();
  format->popup(QPoint(0, 0));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(format));
  const QRect roof = format->actionGeometry(format->actions()[2]);
  QTest::mouseClick(format, Qt::LeftButton, Qt::NoModifier, roof.center());
  const auto commands = window.only(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0].wParam), kRoofCommand);
}

TEST(MenuBar, RadioMarkMovesOnlyThroughCheckMenuRadioItem) {
  TestWindow window;
  HMENU menu = GetMenu(window.hwnd());
  // The program passes 8 as flags; without MF_BYPOSITION the items are command ids.
  EXPECT_TRUE(CheckMenuRadioItem(menu, kTerrain1Command, kRoofCommand, kTerrain1Command, 8));
  EXPECT_EQ(GetMenuState(menu, kTerrain1Command, MF_BYCOMMAND),
            static_cast<UINT>(MF_CHECKED | MFT_RADIOCHECK));
  EXPECT_EQ(GetMenuState(menu, kTerrain2Command, MF_BYCOMMAND), static_cast<UINT>(MFT_RADIOCHECK));
  EXPECT_TRUE(korvanth::platform::MenuAction(window.hwnd(), kTerrain1Command)->isChecked());
  EXPECT_FALSE(korvanth::platform::MenuAction(window.hwnd(), kRoofCommand)->isChecked());

  EXPECT_TRUE(CheckMenuRadioItem(menu, kTerrain1Command, kRoofCommand, kRoofCommand, MF_BYCOMMAND));
  EXPECT_FALSE(korvanth::platform::MenuAction(window.hwnd(), kTerrain1Command)->isChecked());
  EXPECT_TRUE(korvanth::platform::MenuAction(window.hwnd(), kRoofCommand)->isChecked());
  EXPECT_EQ(GetMenuState(menu, kTerrain1Command, MF_BYCOMMAND) & MF_CHECKED, 0u);
  // Items outside the group are untouched.
  EXPECT_EQ(GetMenuState(menu, kFrameCommand, MF_BYCOMMAND), 0u);
  EXPECT_FALSE(korvanth::platform::MenuAction(window.hwnd(), kFrameCommand)->isCheckable());

  // Choosing an item whose handler moves no mark leaves the marks as they were,
  // although Qt would toggle a checkable action by itself.
  korvanth::platform::MenuAction(window.hwnd(), kTerrain2Command)->trigger();
  EXPECT_FALSE(korvanth::platform::MenuAction(window.hwnd(), kTerrain2Command)->isChecked());
  korvanth::platform::MenuAction(window.hwnd(), kRoofCommand)->trigger();
  EXPECT_TRUE(korvanth::platform::MenuAction(window.hwnd(), kRoofCommand)->isChecked());
}

TEST(MenuBar, TheHandlerMovesTheMarkAsTheProgramDoes) {
  TestWindow window;
  window.setHandler([](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_COMMAND && LOWORD(wParam) >= kTerrain1Command &&
        LOWORD(wParam) <= kRoofCommand) {
      CheckMenuRadioItem(GetMenu(hwnd), kTerrain1Command, kRoofCommand, LOWORD(wParam), 8);
      return 0;
    }
    return std::nullopt;
  });
  korvanth::platform::MenuAction(window.hwnd(), kTerrain2Command)->trigger();
  EXPECT_TRUE(korvanth::platform::MenuAction(window.hwnd(), kTerrain2Command)->isChecked());
  korvanth::platform::MenuAction(window.hwnd(), kTerrain2Command)
      ->trigger();  // again: stays marked
  EXPECT_TRUE(korvanth::platform::MenuAction(window.hwnd(), kTerrain2Command)->isChecked());
  korvanth::platform::MenuAction(window.hwnd(), kTerrain1Command)->trigger();
  EXPECT_TRUE(korvanth::platform::MenuAction(window.hwnd(), kTerrain1Command)->isChecked());
  EXPECT_FALSE(korvanth::platform::MenuAction(window.hwnd(), kTerrain2Command)->isChecked());
}

TEST(MenuBar, RadioCallsOutsideTheGroupAreRefused) {
  TestWindow window;
  HMENU menu = GetMenu(window.hwnd());
  EXPECT_FALSE(
      CheckMenuRadioItem(menu, kTerrain1Command, kRoofCommand, kBackgroundCommand, MF_BYCOMMAND));
  EXPECT_FALSE(CheckMenuRadioItem(menu, 50000, 50002, 50001, MF_BYCOMMAND));
  EXPECT_FALSE(
      CheckMenuRadioItem(nullptr, kTerrain1Command, kRoofCommand, kTerrain2Command, MF_BYCOMMAND));
  for (UINT id = kOpenCommand; id <= kBackgroundCommand; ++id)
    EXPECT_EQ(GetMenuState(menu, id, MF_BYCOMMAND), 0u);
}

TEST(MenuBar, ACommandThatDestroysTheWindowIsSafe) {
  TestWindow window;
  window.setHandler([](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_COMMAND && LOWORD(wParam) == kExitCommand) {
      SendMessageA(hwnd, WM_CLOSE, 0, 0);
      return 0;
    }
    return std::nullopt;
  });
  QPointer<QAction> exit = korvanth::platform::MenuAction(window.hwnd(), kExitCommand);
  exit->trigger();
  EXPECT_FALSE(IsWindow(window.hwnd()));
  EXPECT_EQ(window.only(WM_DESTROY).size(), 1u);
  korvanth::platform::FlushDestroyedWindows();
  EXPECT_TRUE(exit.isNull());
}

}  // namespace

namespace {

TEST(MenuBar, CheckMenuItemSetsAndClearsOneMark) {
  TestWindow window;
  HMENU menu = GetMenu(window.hwnd());
  EXPECT_EQ(CheckMenuItem(menu, kFrameCommand, MF_BYCOMMAND | MF_CHECKED),
            static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(GetMenuState(menu, kFrameCommand, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED));
  EXPECT_TRUE(korvanth::platform::MenuAction(window.hwnd(), kFrameCommand)->isChecked());
  EXPECT_EQ(GetMenuState(menu, kBackgroundCommand, MF_BYCOMMAND),
            0u);  // its neighbour is untouched
  // Choosing it does not toggle the mark by itself: the handler decides.
  korvanth::platform::MenuAction(window.hwnd(), kFrameCommand)->trigger();
  EXPECT_TRUE(korvanth::platform::MenuAction(window.hwnd(), kFrameCommand)->isChecked());
  EXPECT_EQ(CheckMenuItem(menu, kFrameCommand, MF_BYCOMMAND | MF_UNCHECKED),
            static_cast<DWORD>(MF_CHECKED));
  EXPECT_FALSE(korvanth::platform::MenuAction(window.hwnd(), kFrameCommand)->isChecked());
  EXPECT_EQ(GetMenuState(menu, kFrameCommand, MF_BYCOMMAND), 0u);
  // By position in the popup that holds it, and refusals.
  EXPECT_EQ(CheckMenuItem(menu, 40099, MF_CHECKED), static_cast<DWORD>(-1));
  EXPECT_EQ(CheckMenuItem(menu, 0, MF_BYPOSITION | MF_CHECKED), static_cast<DWORD>(-1));  // a popup
  EXPECT_EQ(CheckMenuItem(menu, 9, MF_BYPOSITION | MF_CHECKED), static_cast<DWORD>(-1));
  EXPECT_EQ(CheckMenuItem(nullptr, kFrameCommand, MF_CHECKED), static_cast<DWORD>(-1));
}

}  // namespace
