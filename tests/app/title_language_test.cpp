// The window's title names the loaded picture; the common dialogs speak the window's
// language like the menus.
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>

#include "app/menu_resource.h"
#include "app/window_title.h"
#include "gui_support/main_window_fixture.h"
#include "platform/dialogs_support.h"

using namespace korvanth;

namespace {

using dialogs_test::UserScript;

TEST(WindowTitleTest, NameBeforeTheProgram) {
  struct Case {
    const char* path;
    const char* title;
  };
  for (const Case c : {Case{nullptr, "Korvanth"}, Case{"", "Korvanth"},
                       Case{"/tmp/tiles.png", "tiles.png - Korvanth"},
                       Case{"C:\\絵\\地形.bmp", "地形.bmp - Korvanth"},
                       Case{"plain.gif", "plain.gif - Korvanth"}, Case{"/tmp/dir/", "Korvanth"}})
    EXPECT_EQ(korvanth::WindowTitle(c.path), c.title) << (c.path ? c.path : "(null)");
}

class TitleTest : public MainWindowFixture {
 protected:
  QString Title() const { return client()->window()->windowTitle(); }
};

TEST_F(TitleTest, FollowsTheLoadedPicture) {
  EXPECT_EQ(Title(), QStringLiteral("Korvanth"));
  Load(SavePicture(Solid(64, 64, 0xFF336699), "草原.png"));
  EXPECT_EQ(Title(), QString::fromUtf8("草原.png - Korvanth"));
  // A file that is no picture leaves the picture that was open, and its name.
  const std::string broken = dir_.file("broken.png");
  WriteBytes(broken, "not a picture");
  Load(broken);
  EXPECT_EQ(Title(), QString::fromUtf8("草原.png - Korvanth"));
}

// Qt's own words for them (its translation in Japanese), and the file types from the table.
TEST_F(TitleTest, OpenSaveAndColourDialogsSpeakTheWindowsLanguage) {
  struct Case {
    const char* lang;
    QString cancel;
    bool lookInIsEnglish;
    QString firstType;  // the Open dialog's first file type begins so
    QString custom;     // the colour dialog's button for custom colours holds it
  };
  const Case cases[] = {
      {"ja", QString::fromUtf8("キャンセル"), false, QString::fromUtf8("画像ファイル ("),
       QString::fromUtf8("カスタム")},
      {"en", QStringLiteral("Cancel"), true, QStringLiteral("Picture files ("),
       QStringLiteral("Custom")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lang);
    Restart({"korvanth", "--lang", c.lang});
    QString cancelText, lookIn, firstType;
    UserScript open;
    open.when([] { return dialogs_test::OpenFileDialog() != nullptr; },
              [&] {
                QFileDialog* dialog = dialogs_test::OpenFileDialog();
                cancelText = dialogs_test::DialogButton(dialog, QDialogButtonBox::Cancel)->text();
                lookIn = dialog->labelText(QFileDialog::LookIn);
                firstType = dialog->nameFilters().value(0);
                dialogs_test::ClickCancel();
              });
    open.start();
    Command(IDM_FILE_OPEN);
    EXPECT_FALSE(open.timedOut());
    EXPECT_EQ(cancelText, c.cancel);
    EXPECT_EQ(lookIn.contains(QStringLiteral("Look in")), c.lookInIsEnglish)
        << lookIn.toStdString();
    EXPECT_TRUE(firstType.startsWith(c.firstType)) << firstType.toStdString();

    // The Save dialog after an armed click.
    Load(SavePicture(Solid(64, 96, 0xFF203040), "block.png"));
    MoveMouse(10, 10);
    ReleaseLeft(10, 10);
    QString saveCancel;
    UserScript save;
    save.when([] { return dialogs_test::OpenFileDialog() != nullptr; },
              [&] {
                saveCancel = dialogs_test::DialogButton(dialogs_test::OpenFileDialog(),
                                                        QDialogButtonBox::Cancel)
                                 ->text();
                dialogs_test::ClickCancel();
              });
    save.start();
    ReleaseLeft(10, 10);
    EXPECT_FALSE(save.timedOut());
    EXPECT_EQ(saveCancel, c.cancel);

    QString addCustom;
    UserScript colour;
    colour
        .when([] { return dialogs_test::OpenColourDialog() != nullptr; },
              [&] {
                for (QPushButton* button :
                     dialogs_test::OpenColourDialog()->findChildren<QPushButton*>())
                  if (button->text().contains(c.custom)) addCustom = button->text();
              })
        .when(dialogs_test::Always, [] {
          dialogs_test::Click(dialogs_test::DialogButton(dialogs_test::OpenColourDialog(),
                                                         QDialogButtonBox::Cancel));
        });
    colour.start();
    Command(IDM_COLOUR_FRAME);
    EXPECT_FALSE(colour.timedOut());
    EXPECT_FALSE(addCustom.isEmpty());
  }
}

}  // namespace
