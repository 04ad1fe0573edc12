// The block from the keyboard in the real window: arrow keys held inside the picture, the
// view following the block, Enter saving as a click does, and Ctrl+O and Ctrl+Q.
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <cctype>
#include <string>

#include "app/window_procedure.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "platform/dialogs_support.h"
#include "support/expected_sheet.h"

using namespace korvanth;

namespace {

class KeyboardTest : public MainWindowFixture {
 protected:
  void OpenPattern() {
    picture_ = PatternImage(300, 400, true);
    Restart({"korvanth", SavePicture(picture_, "tiles.png")});
    ASSERT_EQ(MainWindowState.picture.width, 300);
  }

  // L, R, U, D: an arrow key; in lower case with Shift.
  void Keys(const std::string& keys) {
    for (char key : keys) {
      const char upper = static_cast<char>(std::toupper(key));
      const Qt::Key arrow = upper == 'L'   ? Qt::Key_Left
                            : upper == 'R' ? Qt::Key_Right
                            : upper == 'U' ? Qt::Key_Up
                                           : Qt::Key_Down;
      QTest::keyClick(client(), arrow, key == upper ? Qt::NoModifier : Qt::ShiftModifier);
    }
    Settle(5);
  }

  // Enter, then the Save dialog saves as `name` in the scratch folder; whether it showed.
  bool EnterAndSave(const std::string& name) {
    dialogs_test::UserScript script;
    script
        .when(dialogs_test::FileDialogShown,
              [this, name] { dialogs_test::TypeName(QString::fromStdString(dir_.file(name))); })
        .when(dialogs_test::Always, [] { dialogs_test::ClickSave(); });
    script.start();
    QTest::keyClick(client(), Qt::Key_Return);
    Settle(50);
    return script.finished();
  }

  QImage picture_;
};

TEST_F(KeyboardTest, ArrowsStepByCellShiftByBlockAndStopAtThePicturesEdge) {
  OpenPattern();
  // The 64 x 96 block of 地形1 (2 x 3 cells) in 300 x 400: its farthest corner is (236, 304).
  const struct {
    QPoint pointer;
    const char* keys;
    int x, y;
  } cases[] = {
      {{5, 5}, "RRR", 96, 0},       {{5, 5}, "rd", 64, 96},    {{5, 5}, "rrrrrr", 236, 0},
      {{5, 5}, "rrrrrL", 224, 0},   {{5, 5}, "ddddU", 0, 288}, {{40, 40}, "lUU", 0, 0},
      {{295, 395}, "LU", 224, 288},  // from the pointer past the far corner
  };
  for (const auto& c : cases) {
    MoveMouse(120, 120);  // another cell first: the block follows the pointer again
    MoveMouse(c.pointer.x(), c.pointer.y());
    Keys(c.keys);
    EXPECT_EQ(SelectionOrigin(MainWindowState).x, c.x) << c.keys;
    EXPECT_EQ(SelectionOrigin(MainWindowState).y, c.y) << c.keys;
  }
}

// Where the keys put the block it stays while the pointer moves within its cell (on the
// screen, also when the keys scrolled the view); a pointer that enters another cell takes
// the block there.
TEST_F(KeyboardTest, KeyMovesHoldUntilThePointerEntersAnotherCell) {
  OpenPattern();
  struct Case {
    int clientSide;  // 0: the window as it opens
    QPoint pointer;
    const char* keys;
    QPoint moveTo;
    int x, y;
  };
  const Case cases[] = {
      {0, {45, 45}, "R", {46, 46}, 64, 32},          // one pixel: held
      {0, {45, 45}, "rD", {62, 62}, 96, 64},         // to the cell's last pixel: held
      {0, {45, 45}, "R", {45, 64}, 32, 64},          // into the cell below: followed
      {0, {45, 45}, "LU", {100, 45}, 96, 32},        // into the next cell across
      {150, {45, 45}, "DDDDDD", {46, 46}, 32, 224},  // the keys scrolled the view: held
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    if (c.clientSide != 0) ResizeClient(c.clientSide, c.clientSide);
    MoveMouse(120, 120);  // another cell first: the block follows the pointer again
    MoveMouse(c.pointer.x(), c.pointer.y());
    Keys(c.keys);
    MoveMouse(c.moveTo.x(), c.moveTo.y());
    EXPECT_EQ(SelectionOrigin(MainWindowState).x, c.x);
    EXPECT_EQ(SelectionOrigin(MainWindowState).y, c.y);
  }
}

TEST_F(KeyboardTest, TheViewScrollsToKeepTheBlockInSight) {
  OpenPattern();
  ResizeClient(150, 150);
  Keys("DDDDDDDDDDDD");
  EXPECT_EQ(MainWindowState.view.vertical.offset, 400 - ViewRect().bottom);  // foot at bottom
  Keys("rr");
  EXPECT_EQ(MainWindowState.view.horizontal.offset, 128 + 64 - ClientRect().right);
  Keys("u");  // from the last row (10) to row 7: its top at the view's top
  EXPECT_EQ(MainWindowState.view.vertical.offset, 7 * 32);
}

TEST_F(KeyboardTest, EnterSavesTheSameSheetAsAClickOnTheSameCell) {
  OpenPattern();
  MoveMouse(5, 5);
  Keys("Rrd");
  ASSERT_TRUE(EnterAndSave("keys.png"));
  const QImage byClick = ClickAndSave(3 * 32 + 5, 3 * 32 + 5, "click.png");
  EXPECT_EQ(ReadBytes(dir_.file("keys.png")), ReadBytes(dir_.file("click.png")));
  EXPECT_EQ(FirstDifference(ExpectedSheet(picture_, LayoutFormat::Terrain1, 96, 96), byClick), "");
}

TEST_F(KeyboardTest, WithoutAPictureTheKeysDoNothing) {
  Keys("Rd");
  EXPECT_EQ(MainWindowState.view.cursor.column, 0);
  EXPECT_EQ(MainWindowState.view.cursor.row, 0);
  EXPECT_FALSE(EnterAndSave("nothing.png"));
}

// A menu opened with the mouse and closed with Escape gives the keys back to the window:
// the next arrow moves the block.
TEST_F(KeyboardTest, EscapeClosingAMenuGivesTheArrowsBackAtOnce) {
  OpenPattern();
  MoveMouse(5, 5);
  auto* bar = client()->window()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  for (int popup : {0, 1, 3}) {
    SCOPED_TRACE(popup);
    QAction* title = bar->actions().value(popup);
    ASSERT_NE(title, nullptr);
    dialogs_test::ClickAt(bar, bar->actionGeometry(title).center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(title->menu()));
    dialogs_test::PressKeyWhereTheFocusIs(Qt::Key_Escape);
    Settle(20);
    ASSERT_FALSE(title->menu()->isVisible());
    const std::int32_t before = SelectionOrigin(MainWindowState).x;
    dialogs_test::PressKeyWhereTheFocusIs(Qt::Key_Right);
    Settle(5);
    EXPECT_EQ(SelectionOrigin(MainWindowState).x, before + 32);
  }
}

TEST_F(KeyboardTest, CtrlOOpensTheOpenDialogAndCtrlQQuits) {
  bool opened = false;
  dialogs_test::UserScript script;
  script.when(dialogs_test::FileDialogShown, [&opened] {
    opened = dialogs_test::OpenFileDialog()->acceptMode() == QFileDialog::AcceptOpen;
    dialogs_test::ClickCancel();
  });
  script.start();
  CtrlKey(Qt::Key_O);
  Settle(50);
  EXPECT_TRUE(opened);
  CtrlKey(Qt::Key_Q);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_FALSE(IsWindow(window_));
  window_ = nullptr;
}

}  // namespace
