// The dialogs over a real main window of the window half: what the owner gets while
// they show (no mouse input, still paints; everything with an ownerless box) and the
// WM_SETFOCUS it gets once they close.
#include <gtest/gtest.h>

#include <QAction>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>

#include <algorithm>

#include "dialogs_support.h"
#include "platform/linux/dialogs_internal.h"
#include "support/test_files.h"
#include "window_harness.h"

using namespace dialogs_test;

namespace {

constexpr char kSaveFilter[] = "PNG (*.png)\0*.png\0ビットマップ (*.bmp)\0*.bmp\0";

bool FileDialogShown() {
  return korvanth::platform::ActiveFileDialog() != nullptr &&
         korvanth::platform::ActiveFileDialog()->isVisible();
}

HWND hookWindowSeen = nullptr;
HWND saveDialogSeen = nullptr;
UINT_PTR RememberHook(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    hookWindowSeen = dialog;
    saveDialogSeen = GetParent(dialog);
  }
  return 0;
}

std::size_t Count(const TestWindow& window, UINT message) { return window.only(message).size(); }

class OwnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.frame()));
    std::fill(std::begin(file_), std::end(file_), '\0');
  }

  OPENFILENAMEA SaveRecord() {
    OPENFILENAMEA ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = window_.hwnd();
    ofn.lpstrFilter = kSaveFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file_;
    ofn.nMaxFile = sizeof file_;
    ofn.lpstrInitialDir = dir_.path().c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    ofn.lpfnHook = RememberHook;
    return ofn;
  }

  TestWindow window_;
  ScratchDir dir_;
  char file_[260];
};

TEST_F(OwnerTest, SaveDialogBlocksTheOwnersMouseButLetsItPaintThenGivesFocusBack) {
  OPENFILENAMEA ofn = SaveRecord();
  std::size_t upsWhileOpen = 99, movesWhileOpen = 99, paintsWhileOpen = 0;
  HWND focusWhileOpen = nullptr;
  BOOL hookKnownWhileOpen = FALSE;
  UserScript script;
  script.when(FileDialogShown, [&] {
    window_.clear();
    QWidget* client = window_.client();
    MoveMouse(client, QPoint(40, 40));
    Click(client);
    InvalidateRect(window_.hwnd(), nullptr, FALSE);
    UpdateWindow(window_.hwnd());
    upsWhileOpen = Count(window_, WM_LBUTTONUP);
    movesWhileOpen = Count(window_, WM_MOUSEMOVE);
    paintsWhileOpen = Count(window_, WM_PAINT);
    focusWhileOpen = GetFocus();
    hookKnownWhileOpen = IsWindow(hookWindowSeen);
    window_.clear();
    Click(DialogButton(korvanth::platform::ActiveFileDialog(), QDialogButtonBox::Cancel));
  });
  script.start();
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  QTest::qWait(20);
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(upsWhileOpen, 0u);
  EXPECT_EQ(movesWhileOpen, 0u);
  EXPECT_GE(paintsWhileOpen, 1u);
  ASSERT_NE(hookWindowSeen, nullptr);
  EXPECT_TRUE(hookKnownWhileOpen);
  EXPECT_EQ(focusWhileOpen, saveDialogSeen);
  EXPECT_FALSE(IsWindow(hookWindowSeen));  // gone with its dialog
  EXPECT_EQ(Count(window_, WM_SETFOCUS), 1u);
  EXPECT_EQ(GetFocus(), window_.hwnd());
}

TEST_F(OwnerTest, ConfirmedSaveDialogAlsoGivesFocusBack) {
  OPENFILENAMEA ofn = SaveRecord();
  UserScript script;
  script
      .when(FileDialogShown,
            [&] {
              TypeText(korvanth::platform::ActiveFileDialog()->findChild<QLineEdit*>(
                           QStringLiteral("fileNameEdit")),
                       QStringLiteral("sheet"));
              window_.clear();
            })
      .when(Always, [] {
        Click(DialogButton(korvanth::platform::ActiveFileDialog(), QDialogButtonBox::Save));
      });
  script.start();
  EXPECT_TRUE(GetSaveFileNameA(&ofn));
  QTest::qWait(20);
  EXPECT_EQ(Count(window_, WM_SETFOCUS), 1u);
}

TEST_F(OwnerTest, ColourDialogGivesFocusBack) {
  COLORREF custom[16] = {};
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = window_.hwnd();
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT;
  cc.rgbResult = RGB(1, 2, 3);
  UserScript script;
  script.when(
      [] {
        return korvanth::platform::ActiveColourDialog() != nullptr &&
               korvanth::platform::ActiveColourDialog()->isVisible();
      },
      [&] {
        window_.clear();
        Click(DialogButton(korvanth::platform::ActiveColourDialog(), QDialogButtonBox::Ok));
      });
  script.start();
  EXPECT_TRUE(ChooseColorA(&cc));
  QTest::qWait(20);
  EXPECT_EQ(cc.rgbResult, RGB(1, 2, 3));
  EXPECT_EQ(Count(window_, WM_SETFOCUS), 1u);
}

TEST_F(OwnerTest, OwnedMessageBoxGivesFocusBack) {
  UserScript script;
  script.when(
      [] {
        return korvanth::platform::ActiveMessageBox() != nullptr &&
               korvanth::platform::ActiveMessageBox()->isVisible();
      },
      [&] {
        window_.clear();
        Click(korvanth::platform::ActiveMessageBox()->button(QMessageBox::Ok));
      });
  script.start();
  EXPECT_EQ(MessageBoxA(window_.hwnd(), "Bmpをアンロックできません", "", MB_OK), IDOK);
  QTest::qWait(20);
  EXPECT_EQ(Count(window_, WM_SETFOCUS), 1u);
}

TEST_F(OwnerTest, WhileAnOwnerlessBoxShowsTheMainWindowTakesMovesPaintsAndCommands) {
  std::size_t moves = 0, paints = 0, commands = 0;
  UserScript script;
  script
      .when(
          [] {
            return korvanth::platform::ActiveMessageBox() != nullptr &&
                   korvanth::platform::ActiveMessageBox()->isVisible();
          },
          [&] {
            window_.clear();
            MoveMouse(window_.client(), QPoint(50, 60));
            MoveMouse(window_.client(), QPoint(70, 80));
            InvalidateRect(window_.hwnd(), nullptr, FALSE);
            UpdateWindow(window_.hwnd());
            if (QAction* roof = korvanth::platform::MenuAction(window_.hwnd(), kRoofCommand))
              roof->trigger();
            moves = Count(window_, WM_MOUSEMOVE);
            paints = Count(window_, WM_PAINT);
            commands = Count(window_, WM_COMMAND);
          })
      .when(Always, [] { Click(korvanth::platform::ActiveMessageBox()->button(QMessageBox::Ok)); });
  script.start();
  EXPECT_EQ(MessageBoxA(nullptr, "ビットマップ形式で保存します", "", MB_ICONWARNING), IDOK);
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(moves, 2u);
  EXPECT_GE(paints, 1u);
  EXPECT_EQ(commands, 1u);
}

}  // namespace
