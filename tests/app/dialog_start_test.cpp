// Where the Open and Save dialogs start and what the Save dialog proposes: the rules for
// what a save remembers, then the real dialogs of the real window.
#include <filesystem>
#include <string>

#include "app/dialog_start.h"
#include "app/menu_resource.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "imaging/file_types.h"
#include "platform/dialogs_support.h"

using namespace korvanth;

namespace {

TEST(DialogStartTest, ASaveRemembersItsTypeAndOnlyAnExtensionWeWrite) {
  const struct {
    const char* saved;
    const char* remembered;  // after "gif" before
  } cases[] = {{"/x/s.BMP", "BMP"},
               {"/x/s.tiff", "tiff"},
               {"/x/s.xyz", "gif"},
               {"/x/s.", "gif"},
               {"/x/d.old/s", "gif"}};
  for (const auto& c : cases) {
    DialogMemory memory{"", "gif", 2};
    RememberSave(memory, c.saved, 3);
    EXPECT_EQ(memory.saveExtension, c.remembered) << c.saved;
    EXPECT_EQ(memory.saveFileType, 3u) << c.saved;
  }
}

TEST(DialogStartTest, OpenFolderIsThePreviousOneWhileItIsAFolder) {
  ScratchDir dir;
  EXPECT_EQ(OpenDialogFolder(dir.path().string()), dir.path().string());
  EXPECT_EQ(OpenDialogFolder((dir.path() / "gone").string()), "");
}

class DialogStartWindowTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    std::filesystem::create_directory(dir_.path() / "pics");
    Restart({"korvanth", SavePicture(PatternImage(300, 400, true), "pics/tiles.png")});
    pics_ = QString::fromStdString((dir_.path() / "pics").string());
  }

  struct Seen {
    QString folder, name;
    int type = -1;
    QStringList filters;
  };

  // Runs `start`, reads the file dialog it opens, then cancels it, or chooses the file
  // type `type` and saves under `typed` in the scratch folder.
  template <typename Start>
  Seen ReadDialog(Start start, const std::string& typed = {}, int type = 0) {
    Seen seen;
    dialogs_test::UserScript script;
    script.when(dialogs_test::FileDialogShown, [&seen] {
      QFileDialog* dialog = dialogs_test::OpenFileDialog();
      seen = {dialog->directory().absolutePath(), dialogs_test::NameField()->text(),
              dialogs_test::TypeBox()->currentIndex(), dialog->nameFilters()};
    });
    if (typed.empty()) {
      script.when(dialogs_test::Always, [] { dialogs_test::ClickCancel(); });
    } else {
      const QString path = QString::fromStdString(dir_.file(typed));
      script.when(dialogs_test::Always, [type] { dialogs_test::ChooseType(type); })
          .when(dialogs_test::Always, [path] { dialogs_test::TypeName(path); })
          .when(dialogs_test::Always, [] { dialogs_test::ClickSave(); });
    }
    script.start();
    start();
    Settle(50);
    EXPECT_TRUE(script.finished());
    return seen;
  }

  Seen SaveDialog(const std::string& typed = {}, int type = 0) {
    MoveMouse(40, 40);
    ReleaseLeft(40, 40);  // arms
    return ReadDialog([this] { ReleaseLeft(40, 40); }, typed, type);
  }

  QString pics_;
};

TEST_F(DialogStartWindowTest, SaveProposesTheFormatsNameThenTheLastTypeChosen) {
  const Seen first = SaveDialog();
  EXPECT_EQ(first.folder, pics_);
  EXPECT_EQ(first.name, QStringLiteral("tiles_terrain1.png"));
  EXPECT_EQ(first.type, 0);

  Command(IDM_FORMAT_ROOF);
  EXPECT_EQ(SaveDialog("elsewhere", 1).name, QStringLiteral("tiles_roof.png"));
  ASSERT_TRUE(std::filesystem::exists(dir_.file("elsewhere.bmp")));

  // The picture's folder again, not the one saved in; the type and extension saved last.
  const Seen after = SaveDialog();
  EXPECT_EQ(after.folder, pics_);
  EXPECT_EQ(after.name, QStringLiteral("tiles_roof.bmp"));
  EXPECT_EQ(after.type, 1);
}

TEST_F(DialogStartWindowTest, AtlasProposesTheAtlasNameInThePicturesFolder) {
  const Seen seen = ReadDialog([this] { Command(IDM_FILE_EXPORT_ALL); });
  EXPECT_EQ(seen.folder, pics_);
  EXPECT_EQ(seen.name, QStringLiteral("tiles_atlas.png"));
}

TEST_F(DialogStartWindowTest, OpenStartsInTheLastPicturesFolderAndListsEveryTypeWeRead) {
  const Seen seen = ReadDialog([this] { Command(IDM_FILE_OPEN); });
  EXPECT_EQ(seen.folder, pics_);
  ASSERT_FALSE(seen.filters.isEmpty());
  for (const FileType& type : FileTypes())
    for (std::string_view extension : type.extensions)
      EXPECT_TRUE(extension.empty() || seen.filters.first().contains(QStringLiteral("*.%1").arg(
                                           QString::fromUtf8(extension.data(), extension.size()))))
          << extension;
}

}  // namespace
