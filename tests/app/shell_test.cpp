// The main window's commands and start-up, driven through the real menu, dialogs,
// drops and the close box.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include <string>

#include "app/menu_resource.h"
#include "app/window_procedure.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "platform/dialogs_support.h"
#include "platform/linux/window_internals.h"
#include "support/program_run.h"
#include "viewer/view_colours.h"

using namespace korvanth;

using dialogs_test::UserScript;

namespace {

bool Checked(HWND window, UINT item) {
  return (GetMenuState(GetMenu(window), item, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void Trigger(HWND window, UINT command) {
  QAction* action = korvanth::platform::MenuAction(window, command);
  ASSERT_NE(action, nullptr) << command;
  action->trigger();
}

using ShellTest = MainWindowFixture;

TEST_F(ShellTest, PictureFromTheFirstArgumentOnly) {
  const std::string first = SavePicture(Solid(200, 150, 0xFF102030), "first.png");
  const std::string second = SavePicture(Solid(90, 80, 0xFF405060), "second.png");
  Restart({"korvanth", first, second});
  EXPECT_EQ(MainWindowState.picture.width, 200);
  EXPECT_EQ(MainWindowState.picture.height, 150);
  ImageHandle* loaded = MainWindowState.picture.image;
  // Hiding and showing the window again does not load it again.
  ShowWindow(window(), SW_HIDE);
  ShowWindow(window(), SW_SHOW);
  Settle();
  EXPECT_EQ(MainWindowState.picture.image, loaded);
}

// What korvanth-convert says about `input` after its name: the words the window must use.
std::string ConverterWords(const std::string& input, const std::string& output) {
  const std::string err = RunConverter({input, output}).err;
  const std::string lead = "korvanth-convert: " + input + ": ";
  const size_t at = err.find(lead);
  if (at == std::string::npos) return "(no line about the input in: " + err + ")";
  const size_t start = at + lead.size();
  return err.substr(start, err.find('\n', start) - start);
}

// In English the cause is the converter's own words; in Japanese (the causes' tables) the
// same box speaks Japanese throughout.
TEST_F(ShellTest, FailedOpenNamesTheFileAndInEnglishTheCauseInTheConvertersWords) {
  WriteBytes(dir_.file("notes.png"), "plain text, not a picture");
  const std::string png = ReadBytes(SavePicture(PatternImage(64, 64), "whole.png"));
  WriteBytes(dir_.file("cut.png"), png.substr(0, 40));  // cut just after the header
  struct Case {
    std::string name;
    std::string cause;  // a word of the cause the case is about
  };
  const Case cases[] = {
      {"missing.png", "no such file"}, {"notes.png", "not a picture"}, {"cut.png", "damaged"}};
  for (const Case& c : cases) {
    const std::string path = dir_.file(c.name);
    const std::string words = ConverterWords(path, dir_.file("sheet.png"));
    EXPECT_NE(words.find(c.cause), std::string::npos) << words;
    QString text;
    QWidget* owner = nullptr;
    UserScript answer;
    answer.when(dialogs_test::BoxShown, [&] {
      QMessageBox* box = dialogs_test::OpenBox();
      text = box->text();
      owner = box->parentWidget();
      dialogs_test::Click(box->button(QMessageBox::Ok));
    });
    answer.start();
    Restart({"korvanth", "--lang", "en", path});  // the program's argument
    EXPECT_TRUE(answer.finished()) << c.name;
    EXPECT_EQ(text.toStdString(), "Could not open the picture.\n" + path + "\n(" + words + ")");
    EXPECT_EQ(owner, window()->widget());
    EXPECT_FALSE(MainWindowState.picture.exists());  // none was open: none is
  }
  // With no picture a click pair and Enter save nothing and ask nothing.
  bool asked = false;
  UserScript script;
  script.when(dialogs_test::FileDialogShown, [&] {
    asked = true;
    dialogs_test::ClickCancel();
  });
  script.start();
  ReleaseLeft(20, 20);
  ReleaseLeft(20, 20);
  dialogs_test::PressKey(client(), Qt::Key_Return);
  Settle(50);
  EXPECT_FALSE(asked);
}

TEST_F(ShellTest, ReleaseWithoutAPictureDoesNothingButArm) {
  ReleaseLeft(20, 20);
  EXPECT_TRUE(MainWindowState.clickArmed);
  ReleaseLeft(20, 20);
  EXPECT_TRUE(MainWindowState.clickArmed);
  EXPECT_EQ(dialogs_test::OpenFileDialog(), nullptr);
}

TEST_F(ShellTest, FormatItemsMoveTheRadioMark) {
  EXPECT_TRUE(Checked(window(), IDM_FORMAT_TERRAIN1));
  EXPECT_FALSE(Checked(window(), IDM_FORMAT_ROOF));
  ReleaseLeft(20, 20);
  ASSERT_TRUE(MainWindowState.clickArmed);
  Trigger(window(), IDM_FORMAT_ROOF);
  EXPECT_EQ(MainWindowState.format, LayoutFormat::Roof);
  EXPECT_TRUE(Checked(window(), IDM_FORMAT_ROOF));
  EXPECT_FALSE(Checked(window(), IDM_FORMAT_TERRAIN1));
  EXPECT_TRUE(MainWindowState.clickArmed);  // a format command leaves the window armed
  Trigger(window(), IDM_FORMAT_TERRAIN2);
  EXPECT_EQ(MainWindowState.format, LayoutFormat::Terrain2);
  EXPECT_TRUE(Checked(window(), IDM_FORMAT_TERRAIN2));
  EXPECT_FALSE(Checked(window(), IDM_FORMAT_ROOF));
}

TEST_F(ShellTest, FormatItemsCarryTheirJapaneseCaptions) {
  const std::pair<UINT, QString> items[] = {{IDM_FORMAT_TERRAIN1, QStringLiteral("地形1")},
                                            {IDM_FORMAT_TERRAIN2, QStringLiteral("地形2")},
                                            {IDM_FORMAT_ROOF, QStringLiteral("屋根")}};
  for (const auto& [command, caption] : items) {
    QAction* action = korvanth::platform::MenuAction(window(), command);
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
              dialogs_test::Click(dialogs_test::AddCustomColourButton());
              dialogs_test::OpenColourDialog()->setCurrentColor(QColor(0, 0, 255));
            })
      .when(dialogs_test::Always, [] {
        dialogs_test::Click(
            dialogs_test::DialogButton(dialogs_test::OpenColourDialog(), QDialogButtonBox::Ok));
      });
  frame.start();
  Trigger(window(), IDM_COLOUR_FRAME);
  EXPECT_FALSE(frame.timedOut());
  EXPECT_EQ(offeredAtStart, QColor(255, 0, 0));
  EXPECT_EQ(MainWindowState.view.colours[0], 0x00FF0000u);
  EXPECT_EQ(MainWindowState.customColours[0], 0x00563412u);
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
  Trigger(window(), IDM_COLOUR_BACKGROUND);
  EXPECT_EQ(offeredCustom, QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(MainWindowState.view.colours[1], 0x00808080u);
  EXPECT_FALSE(MainWindowState.clickArmed);  // the dialog gave the focus back
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
  EXPECT_EQ(MainWindowState.picture.width, 70);
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
  Trigger(window(), IDM_FILE_OPEN);
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(MainWindowState.picture.width, 123);
  EXPECT_FALSE(MainWindowState.clickArmed);
}

TEST_F(ShellTest, ExitCommandEndsTheLoopWithZero) {
  Load(SavePicture(Solid(64, 64, 0xFF000000), "p.png"));
  Trigger(window(), IDM_FILE_EXIT);
  EXPECT_FALSE(IsWindow(window()));
  EXPECT_FALSE(MainWindowState.picture.exists());
  EXPECT_EQ(RunMessageLoop(), 0);
  window_ = nullptr;
}

TEST_F(ShellTest, CloseBoxEndsTheLoopWithZero) {
  MainWindowState.format = LayoutFormat::Roof;
  client()->window()->close();
  Settle();
  EXPECT_FALSE(IsWindow(window()));
  EXPECT_EQ(MainWindowState.format, LayoutFormat::Terrain1);
  EXPECT_EQ(RunMessageLoop(), 0);
  window_ = nullptr;
}

}  // namespace
