// The block from the keyboard in the real window: arrow keys held inside the picture, the
// view following the block, Enter saving as a click does, and Ctrl+O and Ctrl+Q.
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
    MoveMouse(c.pointer.x(), c.pointer.y());
    Keys(c.keys);
    EXPECT_EQ(SelectionOrigin(MainWindowState).x, c.x) << c.keys;
    EXPECT_EQ(SelectionOrigin(MainWindowState).y, c.y) << c.keys;
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
