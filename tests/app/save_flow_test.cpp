// The whole road of a conversion through the real window: picture from the command
// line, the pointer on a cell, the arming release, the Save dialog driven as a user
// drives it, and the sheet on disk compared with the block under the pointer.
#include <QDialogButtonBox>

#include <filesystem>
#include <functional>

#include "app/window_procedure.h"
#include "app/menu_resource.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "platform/dialogs_support.h"
#include "platform/linux/window_internals.h"
#include "viewer/canvas.h"
#include "support/expected_sheet.h"

using namespace korvanth;

namespace fs = std::filesystem;
using dialogs_test::UserScript;

namespace {

class SaveFlowTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    picture_ = PatternImage(300, 400, true);
    Restart({"korvanth", SavePicture(picture_, "tiles.png")});
    ASSERT_EQ(MainWindowState.picture.width, 300);
  }

  // Releases the button over the window while `script` answers what comes up.
  void ReleaseWith(UserScript& script, int x, int y) {
    script.start();
    ReleaseLeft(x, y);
    EXPECT_FALSE(script.timedOut());
    EXPECT_TRUE(script.finished());
  }

  // Arms the window over (40, 40) and releases there again, answering the Save dialog
  // with `steps` in turn (the first once it shows); `box`, when given, reads the message
  // box that follows before its OK is clicked.
  void SaveWith(std::initializer_list<std::function<void()>> steps,
                std::function<void(QMessageBox*)> box = nullptr) {
    MoveMouse(40, 40);
    ReleaseLeft(40, 40);
    UserScript script;
    bool first = true;
    for (const std::function<void()>& step : steps) {
      script.when(first ? dialogs_test::FileDialogShown : dialogs_test::Always, step);
      first = false;
    }
    if (box) {
      script.when(dialogs_test::BoxShown, [box] {
        box(dialogs_test::OpenBox());
        dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
      });
    }
    ReleaseWith(script, 40, 40);
  }

  QString InDir(const std::string& name) { return QString::fromStdString(dir_.file(name)); }

  QImage picture_;
};

TEST_F(SaveFlowTest, SecondReleaseSavesTheBlockUnderThePointer) {
  MoveMouse(3 * 32 + 5, 2 * 32 + 7);  // cell (3, 2): the block at (96, 64)
  ReleaseLeft(3 * 32 + 5, 2 * 32 + 7);
  EXPECT_TRUE(MainWindowState.clickArmed);
  EXPECT_EQ(dialogs_test::OpenFileDialog(), nullptr);

  UserScript script;
  script
      .when([] { return dialogs_test::OpenFileDialog() != nullptr; },
            [this] { dialogs_test::TypeName(InDir("sheet")); })
      .when(dialogs_test::Always, [] { dialogs_test::ChooseType(1); })  // ビットマップ (*.bmp)
      .when(dialogs_test::Always, [] { dialogs_test::ClickSave(); });
  ReleaseWith(script, 3 * 32 + 5, 2 * 32 + 7);

  const std::string saved = dir_.file("sheet.bmp");
  ASSERT_TRUE(fs::exists(saved));
  EXPECT_EQ(ReadBytes(saved).substr(0, 2), "BM");
  EXPECT_EQ(
      FirstDifference(ExpectedSheet(picture_, LayoutFormat::Terrain1, 96, 64), ReadBack(saved)),
      "");

  // After the dialog the window has the focus again: one release arms, the next saves.
  EXPECT_FALSE(MainWindowState.clickArmed);
  ReleaseLeft(10, 10);
  EXPECT_TRUE(MainWindowState.clickArmed);
  EXPECT_EQ(dialogs_test::OpenFileDialog(), nullptr);
  UserScript cancel;
  cancel.when([] { return dialogs_test::OpenFileDialog() != nullptr; },
              [] { dialogs_test::ClickCancel(); });
  ReleaseWith(cancel, 10, 10);
  EXPECT_FALSE(MainWindowState.clickArmed);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 2);
}

TEST_F(SaveFlowTest, NameWithoutExtensionIsCompletedFromTheChosenType) {
  SaveWith({[] { dialogs_test::ChooseType(1); },
            [this] { dialogs_test::TypeName(InDir("completed")); }, dialogs_test::ClickSave});
  EXPECT_EQ(ReadBytes(dir_.file("completed.bmp")).substr(0, 2), "BM");
  EXPECT_FALSE(fs::exists(dir_.path() / "completed"));
}

TEST_F(SaveFlowTest, TypeSwitchesRenameTheTypedName) {
  std::vector<QString> field;
  const auto choose = [&](int type) {
    return [&field, type] {
      dialogs_test::ChooseType(type);
      field.push_back(dialogs_test::NameField()->text());
    };
  };
  SaveWith({[this] { dialogs_test::TypeName(InDir("my.sheet.png")); }, choose(1), choose(2),
            choose(0), dialogs_test::ClickSave});
  EXPECT_EQ(field, (std::vector<QString>{InDir("my.sheet.bmp"), InDir("my.sheet."),
                                         InDir("my.sheet.png")}));
  EXPECT_EQ(ReadBytes(dir_.file("my.sheet.png")).substr(1, 3), "PNG");
}

TEST_F(SaveFlowTest, EmptyFieldStaysEmptyAndCancelWritesNothing) {
  QString after;
  SaveWith({[&] {
              dialogs_test::NameField()->clear();  // the proposed name
              dialogs_test::ChooseType(1);
              after = dialogs_test::NameField()->text();
            },
            dialogs_test::ClickCancel});
  EXPECT_EQ(after, QString());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1);
}

TEST_F(SaveFlowTest, AllFilesTypeLeavesALoneDotAndTheWarningWritesABitmap) {
  QString warning;
  SaveWith({[] { dialogs_test::ChooseType(2); }, [this] { dialogs_test::TypeName(InDir("sheet")); },
            dialogs_test::ClickSave},
           [&](QMessageBox* box) { warning = box->text(); });
  EXPECT_EQ(warning, QStringLiteral("ビットマップ形式で保存します"));
  EXPECT_EQ(ReadBytes(dir_.file("sheet.")).substr(0, 2), "BM");
}

TEST_F(SaveFlowTest, DotInAFolderMeansNoCompletion) {
  fs::create_directory(dir_.path() / "tiles.old");
  SaveWith({[this] { dialogs_test::TypeName(InDir("tiles.old/sheet")); }, dialogs_test::ClickSave},
           [](QMessageBox*) {});
  EXPECT_EQ(ReadBytes(dir_.file("tiles.old/sheet")).substr(0, 2), "BM");
  EXPECT_FALSE(fs::exists(dir_.path() / "tiles.old" / "sheet.png"));
}

TEST_F(SaveFlowTest, CompletedNameIsNotAskedAboutButATypedOneIs) {
  WriteBytes(dir_.file("sheet.png"), "old");
  SaveWith({[this] { dialogs_test::TypeName(InDir("sheet")); }, dialogs_test::PressEnter});
  EXPECT_EQ(ReadBack(dir_.file("sheet.png")).size(), QSize(128, 320));

  ReleaseLeft(40, 40);  // arms again after the dialog
  bool asked = false;
  UserScript asking;
  asking
      .when([] { return dialogs_test::OpenFileDialog() != nullptr; },
            [this] { dialogs_test::TypeName(InDir("sheet.png")); })
      .when(dialogs_test::Always, [] { dialogs_test::PressEnter(); })
      .when([] { return dialogs_test::OverwriteQuestion() != nullptr; },
            [&] {
              asked = true;
              dialogs_test::Click(dialogs_test::OverwriteQuestion()->button(QMessageBox::Yes));
            });
  ReleaseWith(asking, 40, 40);
  EXPECT_TRUE(asked);
}

// The warning after the Save dialog holds the window as the dialog did: a click and a move
// over the window reach nothing, and Enter answers the warning, not the window (which
// would open a second Save dialog).
TEST_F(SaveFlowTest, WhileTheWarningShowsTheWindowTakesNoInput) {
  MoveMouse(40, 40);
  ReleaseLeft(40, 40);
  int dialogs = 0;
  int columnDuringWarning = -1;
  bool enterAnsweredTheWarning = false;
  UserScript script;
  script
      .when(dialogs_test::FileDialogShown,
            [&] {
              ++dialogs;
              dialogs_test::TypeName(InDir("sheet.xyz"));
            })
      .when(dialogs_test::Always, [] { dialogs_test::ClickSave(); })
      .when(dialogs_test::BoxShown,
            [&] {
              dialogs_test::Click(client());
              dialogs_test::MoveMouse(client(), QPoint(5 * 32 + 3, 40));
              columnDuringWarning = MainWindowState.view.cursor.column;
              dialogs_test::PressKeyWhereTheFocusIs(Qt::Key_Return);
              dialogs_test::WaitFor(50);
              enterAnsweredTheWarning = dialogs_test::OpenBox() == nullptr;
            })
      .when(dialogs_test::FileDialogShown, [&] {  // a second Save dialog: the fault
        ++dialogs;
        dialogs_test::ClickCancel();
      });
  script.start();
  ReleaseLeft(40, 40);
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(columnDuringWarning, 1);
  EXPECT_TRUE(enterAnsweredTheWarning);
  EXPECT_EQ(ReadBack(dir_.file("sheet.xyz")).size(), QSize(128, 320));
}

// The picture's file saved over while the warning shows: the save goes on with the picture
// it holds, which is not freed from under it, and the new one is read after the save.
TEST_F(SaveFlowTest, APictureSavedOverWhileTheWarningShowsIsReadAfterTheSave) {
  MoveMouse(40, 40);
  ReleaseLeft(40, 40);
  UserScript script;
  script.when(dialogs_test::FileDialogShown, [&] { dialogs_test::TypeName(InDir("sheet.xyz")); })
      .when(dialogs_test::Always, [] { dialogs_test::ClickSave(); })
      .when(dialogs_test::BoxShown, [&] {
        SavePicture(PatternImage(200, 150, false), "tiles.png");
        dialogs_test::WaitFor(1500);  // the watch looks twice, 0.4 s apart
        dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
      });
  script.start();
  ReleaseLeft(40, 40);
  EXPECT_FALSE(script.timedOut());
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(ReadBack(dir_.file("sheet.xyz")).size(), QSize(128, 320));
  for (int wait = 0; wait < 40 && MainWindowState.picture.width != 200; ++wait)
    dialogs_test::WaitFor(50);
  EXPECT_EQ(MainWindowState.picture.width, 200);
}

TEST_F(SaveFlowTest, TheOpenPictureTheSettingsAndTheBlockMapAreNeverWrittenOver) {
  const std::string picture = dir_.file("tiles.png");
  fs::create_symlink(picture, dir_.path() / "link.png");
  const std::string bytes = ReadBytes(picture);
  const fs::file_time_type modified = fs::last_write_time(picture);
  // The window's settings file, named as the window reads it.
  WriteBytes(dir_.file("settings.conf"), "format=roof\n");
  MainWindowState.settingsPath = dir_.file("settings.conf");
  WriteBytes(dir_.file("tiles.png.blocks"), "0,0 roof r\n");  // the picture's block map
  for (const std::string typed : {"tiles.png", "link.png", "settings.conf", "tiles.png.blocks"}) {
    MoveMouse(40, 40);
    ReleaseLeft(40, 40);  // arms (the dialog before took the focus)
    bool asked = false;
    QString text;
    UserScript script;
    script
        .when([] { return dialogs_test::OpenFileDialog() != nullptr; },
              [&] { dialogs_test::TypeName(InDir(typed)); })
        .when(dialogs_test::Always, [] { dialogs_test::PressEnter(); })
        .when([] { return dialogs_test::OverwriteQuestion() != nullptr; },
              [&] {
                asked = true;
                dialogs_test::Click(dialogs_test::OverwriteQuestion()->button(QMessageBox::Yes));
              })
        .when(dialogs_test::BoxShown, [&] {
          text = dialogs_test::OpenBox()->text();
          dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
        });
    ReleaseWith(script, 40, 40);
    EXPECT_TRUE(asked) << typed;
    const std::string reason = typed == "tiles.png" || typed == "link.png"
                                   ? "開いているピクチャ"
                                   : "Korvanthが読むファイル";
    EXPECT_EQ(text.toStdString(), "保存できませんでした。\n" + dir_.file(typed) + "\n(" + reason +
                                      "です。上書きはしません)");
  }
  MainWindowState.settingsPath.clear();
  EXPECT_EQ(ReadBytes(dir_.file("settings.conf")), "format=roof\n");
  fs::remove(dir_.file("settings.conf"));
  EXPECT_EQ(ReadBytes(dir_.file("tiles.png.blocks")), "0,0 roof r\n");
  fs::remove(dir_.file("tiles.png.blocks"));
  EXPECT_EQ(ReadBytes(picture), bytes);
  EXPECT_EQ(fs::last_write_time(picture), modified);
  EXPECT_TRUE(fs::is_symlink(dir_.path() / "link.png"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 2);
}

TEST_F(SaveFlowTest, FailedSaveShowsTheFileAndTheReasonOverTheWindow) {
  // A cause that holds even for root; the causes themselves are the save layer's.
  struct Case {
    std::string typed;
    QString reason;
  };
  const Case cases[] = {
      {"missing/sheet.png", QString::fromUtf8("(フォルダーがありません)")},
  };
  for (const Case& c : cases) {
    QString text, title;
    QWidget* parent = nullptr;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    SaveWith({[&] { dialogs_test::TypeName(InDir(c.typed)); }, dialogs_test::ClickSave},
             [&](QMessageBox* box) {
               text = box->text();
               title = box->windowTitle();
               parent = box->parentWidget();
               icon = box->icon();
             });
    EXPECT_EQ(text.toStdString(),
              (QStringLiteral("保存できませんでした。\n") + InDir(c.typed) + "\n" + c.reason)
                  .toStdString())
        << c.typed;
    EXPECT_EQ(title, QString());
    EXPECT_EQ(parent, window()->widget());
    EXPECT_EQ(icon, QMessageBox::Critical);
  }
  EXPECT_FALSE(fs::exists(dir_.path() / "missing"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1);
}

}  // namespace
