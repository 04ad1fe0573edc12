// Tilesets from the window: the 形式 menu's two check items, off at start, chosen through
// the open popup as a user chooses them; every sheet saved through the real Save dialog
// then gets its tilesets beside it.
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <filesystem>
#include <set>

#include "app/window_procedure.h"
#include "app/menu_resource.h"
#include "app/window_state.h"
#include "app/main_menu.h"
#include "gui_support/main_window_fixture.h"
#include "platform/dialogs_support.h"
#include "platform/linux/window_internals.h"

using namespace korvanth;

namespace fs = std::filesystem;
using dialogs_test::UserScript;

namespace {

const TilesetTarget& kTiled = kTilesetTargets[0];
const TilesetTarget& kGodot = kTilesetTargets[1];
const UINT kTiledCommand = TilesetCommand(kTiled);
const UINT kGodotCommand = TilesetCommand(kGodot);

class TilesetSaveTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    Restart({"korvanth", SavePicture(PatternImage(200, 200, true), "tiles.png")});
    ASSERT_EQ(MainWindowState.picture.width, 200);
    MoveMouse(40, 40);
    ReleaseLeft(40, 40);  // arms
  }

  QMenu* FormatMenu() {
    auto* bar = client()->window()->findChild<QMenuBar*>();
    return bar == nullptr ? nullptr : bar->actions()[1]->menu();
  }

  void ChooseFormatItem(const char* caption) { ChooseMenuItems(1, {caption}); }

  // Saves the block under (40, 40) through the Save dialog as `name` in the scratch
  // folder (PNG, or the file type of the list's entry `type`); `afterSave` runs once the
  // dialog is confirmed (message boxes).
  void SaveAs(const std::string& name, std::function<void()> afterSave = {}, int type = 0) {
    UserScript script;
    script
        .when([] { return dialogs_test::OpenFileDialog() != nullptr; },
              [this, name, type] {
                // The type first: choosing one puts its extension on the typed name.
                if (type != 0) dialogs_test::ChooseType(type);
                dialogs_test::TypeName(QString::fromStdString(dir_.file(name)));
              })
        .when(dialogs_test::Always, [] { dialogs_test::ClickSave(); });
    if (afterSave) script.when(dialogs_test::BoxShown, afterSave);
    script.start();
    ReleaseLeft(40, 40);
    EXPECT_FALSE(script.timedOut());
    EXPECT_TRUE(script.finished());
    Settle();
    ReleaseLeft(40, 40);  // the window has the focus again: arm for the next save
  }

  std::set<std::string> Files() const { return FileNamesIn(dir_.path()); }

  UINT State(UINT id) { return GetMenuState(GetMenu(window()), id, MF_BYCOMMAND); }
};

TEST_F(TilesetSaveTest, ItemsSitInTheFormatMenuUncheckedAtStart) {
  QMenu* menu = FormatMenu();
  ASSERT_NE(menu, nullptr);
  const auto actions = menu->actions();
  ASSERT_EQ(actions.size(), 11);  // after the formats, the shape and size items; then the map
  EXPECT_TRUE(actions[6]->isSeparator());
  EXPECT_EQ(actions[7]->text(), QString::fromUtf8(kTiled.menuCaption));
  EXPECT_EQ(actions[8]->text(), QString::fromUtf8(kGodot.menuCaption));
  EXPECT_FALSE(actions[7]->isChecked());
  EXPECT_FALSE(actions[8]->isChecked());
  EXPECT_EQ(State(kTiledCommand), 0u);
  EXPECT_EQ(State(kGodotCommand), 0u);

  // Unchanged behaviour: a save writes the sheet alone.
  SaveAs("plain.png");
  EXPECT_EQ(Files(), (std::set<std::string>{"tiles.png", "plain.png"}));
}

TEST_F(TilesetSaveTest, CheckedItemsGiveEverySavedSheetItsTilesets) {
  ChooseFormatItem(kTiled.menuCaption);
  EXPECT_EQ(State(kTiledCommand), static_cast<UINT>(MF_CHECKED));
  EXPECT_TRUE(korvanth::platform::MenuAction(window(), kTiledCommand)->isChecked());
  ChooseFormatItem(FormatMenuItemFor(LayoutFormat::Terrain2)
                       .caption.japanese);  // the format radio marks stay apart
  EXPECT_EQ(State(kTiledCommand), static_cast<UINT>(MF_CHECKED));

  SaveAs("grass.png");
  EXPECT_EQ(Files(), (std::set<std::string>{"tiles.png", "grass.png", "grass.tsx"}));
  const std::string tsx = ReadBytes(dir_.file("grass.tsx"));
  EXPECT_NE(tsx.find("<image source=\"grass.png\" width=\"128\" height=\"384\"/>"),
            std::string::npos);
  EXPECT_NE(tsx.find("tilecount=\"48\""), std::string::npos);
  // The whole inner-corner tile of Terrain2: its four sides only.
  EXPECT_NE(tsx.find("<wangtile tileid=\"7\" wangid=\"1,0,1,0,1,0,1,0\"/>"), std::string::npos);

  ChooseFormatItem(kGodot.menuCaption);
  ChooseFormatItem(kTiled.menuCaption);  // off again
  EXPECT_EQ(State(kTiledCommand), 0u);
  EXPECT_EQ(State(kGodotCommand), static_cast<UINT>(MF_CHECKED));
  ChooseFormatItem(FormatMenuItemFor(LayoutFormat::Roof).caption.japanese);
  SaveAs("roof.png");
  EXPECT_EQ(Files(), (std::set<std::string>{"tiles.png", "grass.png", "grass.tsx", "roof.png",
                                            "roof.tres"}));
  const std::string tres = ReadBytes(dir_.file("roof.tres"));
  EXPECT_EQ(tres.rfind("[gd_resource type=\"TileSet\"", 0), 0u);
  EXPECT_NE(tres.find("path=\"roof.png\""), std::string::npos);
  EXPECT_NE(tres.find("2:3/0 = 0"), std::string::npos);  // the roof sheet's last tile
  EXPECT_EQ(tres.find("terrain"), std::string::npos);
}

TEST_F(TilesetSaveTest, ATilesetThatCannotBeWrittenIsReportedAndTheSheetKept) {
  ChooseFormatItem(kTiled.menuCaption);
  ChooseFormatItem(kGodot.menuCaption);
  fs::create_directory(dir_.path() / "blocked.tsx");  // a folder where the tileset goes
  QString shown;
  SaveAs("blocked.png", [&shown] {
    shown = dialogs_test::OpenBox()->text();
    dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
  });
  EXPECT_TRUE(shown.contains(QString::fromUtf8("タイルセットを保存できませんでした")));
  EXPECT_TRUE(shown.contains(QString::fromStdString(dir_.file("blocked.tsx") + ": フォルダーです")))
      << shown.toStdString();
  EXPECT_TRUE(fs::is_regular_file(dir_.path() / "blocked.png"));
  EXPECT_TRUE(fs::is_directory(dir_.path() / "blocked.tsx"));
  EXPECT_TRUE(fs::is_regular_file(dir_.path() / "blocked.tres"));  // the other one is written
  // No temporary file is left behind.
  EXPECT_EQ(Files(),
            (std::set<std::string>{"tiles.png", "blocked.png", "blocked.tsx", "blocked.tres"}));
}

TEST_F(TilesetSaveTest, GodotTilesetBesideASheetGodotCannotImportIsRefusedInTheBox) {
  ChooseFormatItem(kTiled.menuCaption);
  ChooseFormatItem(kGodot.menuCaption);
  QString shown;
  SaveAs(
      "grass.gif",
      [&shown] {
        shown = dialogs_test::OpenBox()->text();
        dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
      },
      2);  // すべてのファイル (*.*)
  EXPECT_TRUE(shown.contains(QString::fromStdString(
      dir_.file("grass.tres") +
      ": Godot 4はgifの画像を読み込めません。シートは.png（または.bmp、.jpg）で保存してください")))
      << shown.toStdString();
  EXPECT_EQ(Files(), (std::set<std::string>{"tiles.png", "grass.gif", "grass.tsx"}));
  EXPECT_EQ(ReadBytes(dir_.file("grass.gif")).substr(0, 4), "GIF8");
}

// A save that would replace files beside the sheet asks once, naming the sheet and every
// tileset it replaces, and every older tileset the new sheet's type leaves naming another
// sheet; the Save dialog's own question does not come as well. No goes back to the
// dialog, and nothing is written.
TEST_F(TilesetSaveTest, OneQuestionNamesEveryFileTheSaveReplaces) {
  ChooseFormatItem(kTiled.menuCaption);
  ChooseFormatItem(kGodot.menuCaption);
  const std::string tsx = dir_.file("grass.tsx");
  const std::string tres = dir_.file("grass.tres");
  const std::string godotCannot =
      ": Godot 4はgifの画像を読み込めません。シートは.png（または.bmp、.jpg）で保存してください";
  struct Case {
    const char* name;
    int type;  // the list's entry: 0 PNG, 1 BMP, 2 every file
    bool yes;
    std::string question;  // empty: none is asked
    const char* tsxNames;  // the sheet grass.tsx names after the save
    const char* tresNames;
  };
  const Case cases[] = {
      {"grass.bmp", 1, true, "", "grass.bmp", "grass.bmp"},
      {"grass.gif", 2, true,
       "次のファイルを置き換えます。\n" + tsx +
           "\n次のタイルセットは書き出せないため、前のシートを指したままになります。\n" + tres +
           godotCannot + "\n保存しますか？",
       "grass.gif", "grass.bmp"},
      {"grass.gif", 2, false,
       "次のファイルを置き換えます。\n" + dir_.file("grass.gif") + "\n" + tsx +
           "\n次のタイルセットは書き出せないため、前のシートを指したままになります。\n" + tres +
           godotCannot + "\n保存しますか？",
       "grass.gif", "grass.bmp"},
      {"grass.bmp", 1, true,
       "次のファイルを置き換えます。\n" + dir_.file("grass.bmp") + "\n" + tsx + "\n" + tres +
           "\n保存しますか？",
       "grass.bmp", "grass.bmp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + std::string(c.yes ? " yes" : " no"));
    int dialogs = 0;
    QString asked;
    UserScript script;
    script
        .when(dialogs_test::FileDialogShown,
              [&] {
                ++dialogs;
                if (c.type != 0) dialogs_test::ChooseType(c.type);
                dialogs_test::TypeName(QString::fromStdString(dir_.file(c.name)));
              })
        // Enter: a click would only close the completion list of a name that is there.
        .when(dialogs_test::Always, [] { dialogs_test::PressEnter(); })
        // The first box: the question, or the dialog's own (for the sheet alone), or the
        // report of a save that asked nothing.
        .when([] { return dialogs_test::BoxShown() || dialogs_test::OverwriteQuestion(); },
              [&] {
                QMessageBox* box = dialogs_test::OverwriteQuestion();
                asked = box != nullptr ? QStringLiteral("(the dialog's own)")
                                       : (box = dialogs_test::OpenBox())->text();
                QAbstractButton* answer = box->button(c.yes ? QMessageBox::Yes : QMessageBox::No);
                dialogs_test::Click(answer != nullptr ? answer : box->button(QMessageBox::Ok));
              })
        .when(dialogs_test::Always, [&] {
          dialogs_test::WaitFor(50);
          if (dialogs_test::BoxShown())  // the report of the Godot tileset not written
            dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
          if (dialogs_test::FileDialogShown()) {  // No: back to the dialog
            ++dialogs;
            EXPECT_EQ(dialogs_test::NameField()->text(), QString::fromUtf8(c.name));
            dialogs_test::ClickCancel();
          }
        });
    script.start();
    ReleaseLeft(40, 40);
    Settle(50);
    EXPECT_FALSE(script.timedOut());
    EXPECT_EQ(asked.toStdString(), c.question);
    EXPECT_EQ(dialogs, c.yes ? 1 : 2);
    EXPECT_NE(ReadBytes(tsx).find(std::string("source=\"") + c.tsxNames + "\""), std::string::npos);
    EXPECT_NE(ReadBytes(tres).find(std::string("path=\"") + c.tresNames + "\""), std::string::npos);
    ReleaseLeft(40, 40);  // arms again
  }
}

}  // namespace
