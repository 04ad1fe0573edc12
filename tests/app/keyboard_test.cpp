// The block from the keyboard in the real window: arrow keys (with Shift by a block) held
// inside the picture, the view following the block, Enter saving as a click does, and the
// ファイル menu's Ctrl+O and Ctrl+Q.
#include <QTest>

#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "platform/dialogs_support.h"
#include "platform/portable/window_internals.h"
#include "support/expected_sheet.h"

using namespace korvanth;

using dialogs_test::UserScript;

namespace {

using Press = std::pair<Qt::Key, Qt::KeyboardModifiers>;
constexpr Qt::KeyboardModifiers kPlain = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

class KeyboardTest : public MainWindowFixture {
 protected:
  void OpenPattern() {
    picture_ = PatternImage(300, 400, true);
    Restart({"korvanth", SavePicture(picture_, "tiles.png")});
    ASSERT_EQ(SourceImage.width, 300);
  }

  void Keys(const std::vector<Press>& presses) {
    for (const auto& [key, modifiers] : presses) QTest::keyClick(client(), key, modifiers);
    Settle(5);
  }

  // Presses Enter and saves through the Save dialog as `name` in the scratch folder;
  // whether a dialog showed.
  bool EnterAndSave(const std::string& name) {
    bool shown = false;
    const QString path = QString::fromStdString(dir_.file(name));
    UserScript script;
    script
        .when(dialogs_test::FileDialogShown,
              [&shown, path] {
                shown = true;
                dialogs_test::TypeName(path);
              })
        .when(dialogs_test::Always, [] { dialogs_test::ClickSave(); });
    script.start();
    QTest::keyClick(client(), Qt::Key_Return);
    Settle(50);
    return shown && script.finished();
  }

  QImage picture_;
};

// A 300 x 400 picture and the 64 x 96 block of 地形1: the farthest corner is (236, 304),
// the block of the cell just past it.
TEST_F(KeyboardTest, ArrowsStepByCellShiftByBlockAndStopAtThePicturesEdge) {
  OpenPattern();
  struct Case {
    const char* name;
    QPoint pointer;
    std::vector<Press> keys;
    SelectionPoint origin;
  };
  const Case cases[] = {
      {"three cells right",
       {5, 5},
       {{Qt::Key_Right, kPlain}, {Qt::Key_Right, kPlain}, {Qt::Key_Right, kPlain}},
       {96, 0}},
      {"a block right, a block down",
       {5, 5},
       {{Qt::Key_Right, kShift}, {Qt::Key_Down, kShift}},
       {64, 96}},
      {"held at the right edge", {5, 5}, std::vector<Press>(12, {Qt::Key_Right, kPlain}), {236, 0}},
      {"a block at a time, held at the right edge",
       {5, 5},
       std::vector<Press>(6, {Qt::Key_Right, kShift}),
       {236, 0}},
      {"one cell back from the right edge",
       {5, 5},
       {{Qt::Key_Right, kShift},
        {Qt::Key_Right, kShift},
        {Qt::Key_Right, kShift},
        {Qt::Key_Right, kShift},
        {Qt::Key_Right, kShift},
        {Qt::Key_Left, kPlain}},
       {224, 0}},
      {"held at the bottom, then up",
       {5, 5},
       {{Qt::Key_Down, kShift},
        {Qt::Key_Down, kShift},
        {Qt::Key_Down, kShift},
        {Qt::Key_Down, kShift},
        {Qt::Key_Up, kPlain}},
       {0, 288}},
      {"held at the top-left corner",
       {40, 40},
       {{Qt::Key_Left, kShift}, {Qt::Key_Up, kPlain}, {Qt::Key_Up, kPlain}},
       {0, 0}},
      {"from the pointer past the corner",
       {295, 395},
       {{Qt::Key_Left, kPlain}, {Qt::Key_Up, kPlain}},
       {224, 288}},
  };
  for (const Case& c : cases) {
    MoveMouse(c.pointer.x(), c.pointer.y());
    Keys(c.keys);
    EXPECT_EQ(SelectionOrigin().x, c.origin.x) << c.name;
    EXPECT_EQ(SelectionOrigin().y, c.origin.y) << c.name;
  }
}

TEST_F(KeyboardTest, TheViewScrollsToKeepTheBlockInSight) {
  OpenPattern();
  ResizeClient(150, 150);
  Keys(std::vector<Press>(12, {Qt::Key_Down, kPlain}));
  // The block's foot (row 400) at the client area's bottom.
  EXPECT_EQ(VerticalScroll.offset, 400 - ClientRect().bottom);
  Keys({{Qt::Key_Right, kShift}, {Qt::Key_Right, kShift}});
  EXPECT_EQ(HorizontalScroll.offset, 128 + 64 - ClientRect().right);
  // A block up from the pulled-back last row (10) is row 7: its top at the view's top.
  Keys({{Qt::Key_Up, kShift}});
  EXPECT_EQ(VerticalScroll.offset, 7 * 32);
}

TEST_F(KeyboardTest, EnterSavesTheSameSheetAsAClickOnTheSameCell) {
  OpenPattern();
  MoveMouse(5, 5);
  Keys({{Qt::Key_Right, kPlain}, {Qt::Key_Right, kShift}, {Qt::Key_Down, kShift}});
  ASSERT_TRUE(EnterAndSave("keys.png"));
  const QImage byClick = ClickAndSave(3 * 32 + 5, 3 * 32 + 5, "click.png");
  EXPECT_EQ(ReadBytes(dir_.file("keys.png")), ReadBytes(dir_.file("click.png")));
  EXPECT_EQ(FirstDifference(ExpectedSheet(picture_, LayoutFormat::Terrain1, 96, 96), byClick), "");
}

TEST_F(KeyboardTest, WithoutAPictureTheKeysDoNothing) {
  Keys({{Qt::Key_Right, kPlain}, {Qt::Key_Down, kShift}});
  EXPECT_EQ(CursorCell.column, 0);
  EXPECT_EQ(CursorCell.row, 0);
  EXPECT_FALSE(EnterAndSave("nothing.png"));
}

TEST_F(KeyboardTest, CtrlOOpensTheOpenDialogAndCtrlQQuits) {
  bool opened = false;
  UserScript script;
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
