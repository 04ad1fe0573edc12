// The main window's commands and start-up, driven through the real menu, dialogs,
// drops and the close box.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "app/main_window.h"
#include "convert/conversion_state.h"
#include "gui_support/main_window_fixture.h"
#include "platform/dialogs_support.h"
#include "platform/portable/window_internals.h"
#include "viewer/view_colours.h"

using namespace korvanth;

using dialogs_test::UserScript;

namespace {

bool Checked(HWND window, UINT item) {
  return (GetMenuState(GetMenu(window), item, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void Trigger(HWND window, UINT command) {
  QAction* action = platform::MenuAction(window, command);
  ASSERT_NE(action, nullptr) << command;
  action->trigger();
}

using ShellTest = MainWindowFixture;

TEST_F(ShellTest, PictureFromTheFirstArgumentOnly) {
  const std::string first = SavePicture(Solid(200, 150, 0xFF102030), "first.png");
  const std::string second = SavePicture(Solid(90, 80, 0xFF405060), "second.png");
  Restart({"korvanth", first, second});
  EXPECT_EQ(SourceImage.width, 200);
  EXPECT_EQ(SourceImage.height, 150);
  EXPECT_EQ(ArgumentCount, 0);
  ImageHandle* loaded = SourceImage.image;
  // Hiding and showing the window again does not load it again.
  ShowWindow(window(), SW_HIDE);
  ShowWindow(window(), SW_SHOW);
  Settle();
  EXPECT_EQ(SourceImage.image, loaded);
}

TEST_F(ShellTest, FirstArgumentThatIsNoPicture) {
  Restart({"korvanth", dir_.file("missing.png")});
  EXPECT_EQ(dialogs_test::OpenBox(), nullptr);
  ASSERT_TRUE(SourceImage.exists());
  EXPECT_EQ(SourceImage.width, 0);
  // An armed release still opens the Save dialog.
  ReleaseLeft(20, 20);
  bool opened = false;
  UserScript script;
  script.when([] { return dialogs_test::OpenFileDialog() != nullptr; },
              [&] {
                opened = true;
                dialogs_test::ClickCancel();
              });
  script.start();
  ReleaseLeft(20, 20);
  EXPECT_TRUE(opened);
  EXPECT_FALSE(script.timedOut());
}

TEST_F(ShellTest, ReleaseWithoutAPictureDoesNothingButArm) {
  ReleaseLeft(20, 20);
  EXPECT_TRUE(ClickArmed);
  ReleaseLeft(20, 20);
  EXPECT_TRUE(ClickArmed);
  EXPECT_EQ(dialogs_test::OpenFileDialog(), nullptr);
}

TEST_F(ShellTest, FormatItemsMoveTheRadioMark) {
  EXPECT_TRUE(Checked(window(), 40003));
  EXPECT_FALSE(Checked(window(), 40005));
  ReleaseLeft(20, 20);
  ASSERT_TRUE(ClickArmed);
  Trigger(window(), 40005);
  EXPECT_EQ(CurrentLayoutFormat, LayoutFormat::Roof);
  EXPECT_TRUE(Checked(window(), 40005));
  EXPECT_FALSE(Checked(window(), 40003));
  EXPECT_TRUE(ClickArmed);  // a format command leaves the window armed
  Trigger(window(), 40004);
  EXPECT_EQ(CurrentLayoutFormat, LayoutFormat::Terrain2);
  EXPECT_TRUE(Checked(window(), 40004));
  EXPECT_FALSE(Checked(window(), 40005));
}

TEST_F(ShellTest, FormatItemsCarryTheirJapaneseCaptions) {
  const std::pair<UINT, QString> items[] = {{40003, QStringLiteral("地形1")},
                                            {40004, QStringLiteral("地形2")},
                                            {40005, QStringLiteral("屋根")}};
  for (const auto& [command, caption] : items) {
    QAction* action = platform::MenuAction(window(), command);
    ASSERT_NE(action, nullptr) << command;
    EXPECT_TRUE(action->text().startsWith(caption)) << action->text().toStdString();
  }
}

TEST_F(ShellTest, ColourCommandsShareTheCustomColours) {
  Load(SavePicture(Solid(256, 256, 0xFF000000), "black.png"));
  // The frame dialog: add a custom colour, pick blue, confirm.
  QColor offeredAtStart;
  UserScript frame;
  frame
      .when([] { return dialogs_test::OpenColourDialog() != nullptr; },
            [&] {
              offeredAtStart = dialogs_test::OpenColourDialog()->currentColor();
              dialogs_test::OpenColourDialog()->setCurrentColor(QColor(0x12, 0x34, 0x56));
              for (QPushButton* button :
                   dialogs_test::OpenColourDialog()->findChildren<QPushButton*>())
                if (button->text().contains(QStringLiteral("Custom"))) dialogs_test::Click(button);
              dialogs_test::OpenColourDialog()->setCurrentColor(QColor(0, 0, 255));
            })
      .when(dialogs_test::Always, [] {
        dialogs_test::Click(
            dialogs_test::DialogButton(dialogs_test::OpenColourDialog(), QDialogButtonBox::Ok));
      });
  frame.start();
  Trigger(window(), 40006);
  EXPECT_FALSE(frame.timedOut());
  EXPECT_EQ(offeredAtStart, QColor(255, 0, 0));
  EXPECT_EQ(ViewColours[0], 0x00FF0000u);
  EXPECT_EQ(CustomColours[0], 0x00563412u);
  MoveMouse(70, 70);
  EXPECT_EQ(Paint().pixel(64, 100), 0xFF0000FFu);  // the outline is blue now

  // The background dialog offers the same custom colour; cancelling changes nothing.
  QColor offeredCustom;
  UserScript background;
  background.when([] { return dialogs_test::OpenColourDialog() != nullptr; },
                  [&] {
                    offeredCustom = QColorDialog::customColor(0);
                    dialogs_test::Click(dialogs_test::DialogButton(dialogs_test::OpenColourDialog(),
                                                                   QDialogButtonBox::Cancel));
                  });
  background.start();
  Trigger(window(), 40007);
  EXPECT_EQ(offeredCustom, QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(ViewColours[1], 0x00808080u);
  EXPECT_FALSE(ClickArmed);  // the dialog gave the focus back
}

TEST_F(ShellTest, DroppingThreeFilesOpensTheFirst) {
  QMimeData data;
  data.setUrls(
      {QUrl::fromLocalFile(QString::fromStdString(SavePicture(Solid(70, 60, 0xFF00FF00), "a.png"))),
       QUrl::fromLocalFile(QString::fromStdString(SavePicture(Solid(80, 60, 0xFF00FF00), "b.png"))),
       QUrl::fromLocalFile(
           QString::fromStdString(SavePicture(Solid(90, 60, 0xFF00FF00), "c.png")))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(client(), &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(client(), &drop);
  Settle();
  EXPECT_EQ(SourceImage.width, 70);
}

TEST_F(ShellTest, OpenCommandLoadsTheChosenPicture) {
  const std::string path = SavePicture(Solid(123, 45, 0xFF336699), "chosen.png");
  ReleaseLeft(20, 20);
  UserScript script;
  script
      .when([] { return dialogs_test::OpenFileDialog() != nullptr; },
            [&] { dialogs_test::TypeName(QString::fromStdString(path)); })
      .when(dialogs_test::Always, [] { dialogs_test::PressEnter(); });
  script.start();
  Trigger(window(), 40001);
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(SourceImage.width, 123);
  EXPECT_FALSE(ClickArmed);
}

TEST_F(ShellTest, ExitCommandEndsTheLoopWithZero) {
  Load(SavePicture(Solid(64, 64, 0xFF000000), "p.png"));
  Trigger(window(), 40002);
  EXPECT_FALSE(IsWindow(window()));
  EXPECT_FALSE(SourceImage.exists());
  EXPECT_EQ(RunMessageLoop(), 0);
  window_ = nullptr;
}

TEST_F(ShellTest, CloseBoxEndsTheLoopWithZero) {
  CurrentLayoutFormat = LayoutFormat::Roof;
  client()->window()->close();
  Settle();
  EXPECT_FALSE(IsWindow(window()));
  EXPECT_EQ(CurrentLayoutFormat, LayoutFormat::Terrain1);
  EXPECT_EQ(RunMessageLoop(), 0);
  window_ = nullptr;
}

}  // namespace
