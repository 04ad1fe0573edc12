// Where the Open and Save dialogs start and what the Save dialog proposes: the rules on
// their own, then read from the real dialogs of the real window.
#include <filesystem>
#include <string>

#include "app/dialog_start.h"
#include "app/menu_resource.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "imaging/file_types.h"
#include "platform/dialogs_support.h"

using namespace korvanth;

namespace fs = std::filesystem;
using dialogs_test::UserScript;

namespace {

TEST(DialogStartTest, ProposalIsStemUnderscoreSuffixInThePicturesFolder) {
  struct Case {
    std::string picture, suffix, lastExtension;
    SaveProposal expected;
  };
  const Case cases[] = {
      {"/p/tiles.png", "terrain1", "", {"/p", "tiles_terrain1.png", "/p/tiles_terrain1.png"}},
      {"/p/q/a.b.gif", "roof", "bmp", {"/p/q", "a.b_roof.bmp", "/p/q/a.b_roof.bmp"}},
      {"tiles.png", "atlas", "jpeg", {"", "tiles_atlas.jpeg", "tiles_atlas.jpeg"}},
  };
  for (const Case& c : cases) {
    const SaveProposal got = ProposeSaveName(c.picture, c.suffix, c.lastExtension);
    EXPECT_EQ(got.folder, c.expected.folder) << c.picture;
    EXPECT_EQ(got.name, c.expected.name) << c.picture;
    EXPECT_EQ(got.path, c.expected.path) << c.picture;
  }
}

TEST(DialogStartTest, ASaveRemembersItsTypeAndAnExtensionWeWrite) {
  struct Case {
    std::string saved;
    unsigned type;
    std::string extension;  // remembered after a save that remembered "gif"
  };
  const Case cases[] = {
      {"/x/s.BMP", 3, "BMP"},      {"/x/s.tiff", 3, "tiff"},
      {"/x/s.xyz", 3, "gif"},       // written as BMP: not a type of its own
      {"/x/dir.old/s.", 3, "gif"},  // a lone dot
      {"/x/dir.old/s", 1, "gif"},   // the dot is the folder's
  };
  for (const Case& c : cases) {
    DialogMemory memory{"", "gif", 2};
    RememberSave(memory, c.saved, c.type);
    EXPECT_EQ(memory.saveExtension, c.extension) << c.saved;
    EXPECT_EQ(memory.saveFileType, c.type) << c.saved;
  }
}

TEST(DialogStartTest, OpenFolderIsThePreviousOneWhileItIsAFolder) {
  ScratchDir dir;
  EXPECT_EQ(OpenDialogFolder(dir.path().string()), dir.path().string());
  EXPECT_EQ(OpenDialogFolder((dir.path() / "gone").string()), "");
  EXPECT_EQ(OpenDialogFolder(""), "");
}

class DialogStartWindowTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    fs::create_directory(dir_.path() / "pics");
    picture_ = SavePicture(PatternImage(300, 400, true), "pics/tiles.png");
    Restart({"korvanth", picture_});
    ASSERT_EQ(SourceImage.width, 300);
  }

  struct Seen {
    QString folder, name;
    int type = -1;
    QStringList filters;
  };

  // Runs `start` (which opens a file dialog), reads the dialog, then saves under `typed`
  // (the file type `type` chosen first) or cancels when `typed` is empty.
  template <typename Start>
  Seen ReadDialog(Start start, const QString& typed = {}, int type = 0) {
    Seen seen;
    UserScript script;
    script.when(dialogs_test::FileDialogShown, [&seen] {
      seen.folder = dialogs_test::OpenFileDialog()->directory().absolutePath();
      seen.name = dialogs_test::NameField()->text();
      seen.type = dialogs_test::TypeBox()->currentIndex();
      seen.filters = dialogs_test::OpenFileDialog()->nameFilters();
    });
    if (typed.isEmpty()) {
      script.when(dialogs_test::Always, [] { dialogs_test::ClickCancel(); });
    } else {
      script.when(dialogs_test::Always, [type] { dialogs_test::ChooseType(type); })
          .when(dialogs_test::Always, [typed] { dialogs_test::TypeName(typed); })
          .when(dialogs_test::Always, [] { dialogs_test::ClickSave(); })
          .when(dialogs_test::BoxShown, [] {  // the atlas's counts
            dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
          });
    }
    script.start();
    start();
    Settle(50);
    EXPECT_FALSE(script.timedOut());
    return seen;
  }

  Seen SaveDialog(const QString& typed = {}, int type = 0) {
    return ReadDialog(
        [this] {
          MoveMouse(40, 40);
          ReleaseLeft(40, 40);  // arms
          ReleaseLeft(40, 40);
        },
        typed, type);
  }

  QString Pics() const { return QString::fromStdString((dir_.path() / "pics").string()); }

  std::string picture_;
};

TEST_F(DialogStartWindowTest, SaveProposesTheFormatsNameThenTheLastTypeChosen) {
  Seen first = SaveDialog();
  EXPECT_EQ(first.folder, Pics());
  EXPECT_EQ(first.name, QStringLiteral("tiles_terrain1.png"));
  EXPECT_EQ(first.type, 0);

  Command(IDM_FORMAT_ROOF);
  const QString saved = QString::fromStdString(dir_.file("elsewhere"));
  EXPECT_EQ(SaveDialog(saved, 1).name, QStringLiteral("tiles_roof.png"));
  EXPECT_TRUE(fs::exists(dir_.file("elsewhere.bmp")));

  // The picture's folder again, not the one saved in; the type and extension chosen last.
  Seen after = SaveDialog();
  EXPECT_EQ(after.folder, Pics());
  EXPECT_EQ(after.name, QStringLiteral("tiles_roof.bmp"));
  EXPECT_EQ(after.type, 1);
}

TEST_F(DialogStartWindowTest, AtlasProposesTheAtlasNameInThePicturesFolder) {
  const Seen seen = ReadDialog([this] { Command(IDM_FILE_EXPORT_ALL); });
  EXPECT_EQ(seen.folder, Pics());
  EXPECT_EQ(seen.name, QStringLiteral("tiles_atlas.png"));
}

TEST_F(DialogStartWindowTest, OpenStartsInTheLastPicturesFolderAndListsEveryTypeWeRead) {
  const Seen seen = ReadDialog([this] { Command(IDM_FILE_OPEN); });
  EXPECT_EQ(seen.folder, Pics());
  ASSERT_FALSE(seen.filters.isEmpty());
  for (const FileType& type : FileTypes()) {
    for (std::string_view extension : type.extensions) {
      if (extension.empty()) continue;
      const QString pattern =
          QStringLiteral("*.") + QString::fromUtf8(extension.data(), extension.size());
      EXPECT_TRUE(seen.filters.first().contains(pattern)) << extension;
    }
  }
}

}  // namespace
