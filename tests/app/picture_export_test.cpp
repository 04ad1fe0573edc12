// ファイル > ピクチャ全体を書き出す in the real window: the Save dialog answered as a user
// answers it, the atlas and its tilesets compared with the converter's --all --atlas for
// the same picture and settings, and the box's counts.
#include <QMessageBox>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main_menu.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "platform/dialogs_support.h"
#include "support/pixel_difference.h"
#include "support/program_run.h"

using namespace korvanth;

namespace fs = std::filesystem;
using dialogs_test::UserScript;

namespace {

constexpr const char kExportCaption[] = "ピクチャ全体を書き出す(&A)...";

class PictureExportTest : public MainWindowFixture {
 protected:
  // Chooses the command and answers what comes up: the Save dialog with `name` in the
  // scratch folder when `name` is set (after choosing the file type `type`), then
  // `boxes` message boxes, whose texts are returned.
  std::vector<QString> Export(const std::string& name, int boxes = 1, int type = 0) {
    std::vector<QString> shown;
    UserScript script;
    if (!name.empty())
      script
          .when([] { return dialogs_test::OpenFileDialog() != nullptr; },
                [type] { dialogs_test::ChooseType(type); })
          .when(dialogs_test::Always,
                [&] { dialogs_test::TypeName(QString::fromStdString(dir_.file(name))); })
          .when(dialogs_test::Always, [] { dialogs_test::ClickSave(); });
    for (int box = 0; box < boxes; ++box)
      script.when(dialogs_test::BoxShown, [&shown] {
        shown.push_back(dialogs_test::OpenBox()->text());
        dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
      });
    script.start();
    ChooseMenuItems(0, {kExportCaption});
    EXPECT_FALSE(script.timedOut());
    EXPECT_TRUE(script.finished());
    return shown;
  }

  void OpenPicture(const QImage& picture, const std::string& name = "tiles.png") {
    input_ = SavePicture(picture, name);
    Restart({"korvanth", input_});
    ASSERT_EQ(MainWindowState.picture.width, picture.width());
  }

  std::string input_;
};

TEST_F(PictureExportTest, WritesTheConvertersAtlasAndTilesetsAndCountsTheBlocks) {
  // 3 x 2 blocks of 地形1 (64 x 96); the middle one of the lower row shows nothing.
  QImage picture = PatternImage(192, 192, true);
  for (int y = 96; y < 192; ++y)
    for (int x = 64; x < 128; ++x) picture.setPixel(x, y, 0);
  OpenPicture(picture);
  ChooseMenuItems(1, {"全形状を追加(&C)"});
  for (const TilesetTarget& target : kTilesetTargets) ChooseMenuItems(1, {target.menuCaption});

  EXPECT_EQ(Export("atlas.png"),
            std::vector<QString>{QString::fromStdString(
                "5個のブロックを書き出しました（空のブロック 1個は飛ばしました）。\n" +
                dir_.file("atlas.png"))});

  // The converter's files under the same names in a folder of their own.
  fs::create_directory(dir_.path() / "cli");
  const ProgramRun run = RunProgram(
      KORVANTH_CONVERT_EXE,
      {"--all", "--atlas", "--complete", "--tileset", "both", input_, dir_.file("cli/atlas.png")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(FirstDifference(ReadBack(dir_.file("cli/atlas.png")), ReadBack(dir_.file("atlas.png"))),
            "");
  for (const char* tileset : {"atlas.tsx", "atlas.tres"}) {
    const std::string expected = ReadBytes(dir_.file(std::string("cli/") + tileset));
    EXPECT_NE(expected.find("tiles_2_0"), std::string::npos) << tileset;  // named after the picture
    EXPECT_TRUE(ReadBytes(dir_.file(tileset)) == expected) << tileset;    // (long texts)
  }
}

// A block map beside the picture: its blocks at their own formats and its tile size (the
// window's 地形1 at 32 left aside), as the converter takes the same map; one it cannot
// use is named in the failure box, and nothing is written.
TEST_F(PictureExportTest, AMapBesideThePictureChoosesItsBlocks) {
  OpenPicture(PatternImage(128, 112, true));
  ChooseMenuItems(1, {kTilesetTargets[0].menuCaption});
  WriteBytes(input_ + ".blocks", "tile-size 16\n0,0 terrain2 deep\n3,0 roof top 2\n");
  EXPECT_EQ(Export("atlas.png"),
            std::vector<QString>{QString::fromStdString(
                "3個のブロックを書き出しました（空のブロック 0個は飛ばしました）。\n" +
                dir_.file("atlas.png"))});
  fs::create_directory(dir_.path() / "cli");
  const ProgramRun run = RunProgram(KORVANTH_CONVERT_EXE, {"--all", "--atlas", "--tileset", "tiled",
                                                           input_, dir_.file("cli/atlas.png")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(FirstDifference(ReadBack(dir_.file("cli/atlas.png")), ReadBack(dir_.file("atlas.png"))),
            "");
  const std::string tileset = ReadBytes(dir_.file("atlas.tsx"));
  EXPECT_EQ(tileset, ReadBytes(dir_.file("cli/atlas.tsx")));
  EXPECT_NE(tileset.find("tilewidth=\"16\""), std::string::npos);
  EXPECT_NE(tileset.find("<wangset name=\"deep\""), std::string::npos);

  WriteBytes(input_ + ".blocks", "0,0 terrain2 deep\n3,0 roofs top\n");
  const std::vector<QString> shown = Export("broken.png");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].contains(QString::fromStdString(
      input_ + ".blocks\n(2行目：「roofs」という形式はありません（terrain1, terrain2, roof）)")))
      << shown[0].toStdString();
  EXPECT_FALSE(fs::exists(dir_.file("broken.png")));
}

TEST_F(PictureExportTest, AnUnknownExtensionWarnsFirstAndWritesBitmapContent) {
  OpenPicture(PatternImage(128, 96, true));
  const std::vector<QString> shown = Export("atlas", 2, 2);  // すべてのファイル: "atlas."
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], QStringLiteral("ビットマップ形式で保存します"));
  EXPECT_TRUE(shown[1].startsWith(QString::fromUtf8("2個のブロックを書き出しました")))
      << shown[1].toStdString();
  EXPECT_EQ(ReadBytes(dir_.file("atlas.")).substr(0, 2), "BM");
}

TEST_F(PictureExportTest, ATilesetOnTheOpenPictureIsRefusedInTheBox) {
  OpenPicture(PatternImage(128, 96, true), "tiles.tsx");
  ChooseMenuItems(1, {kTilesetTargets[0].menuCaption});
  const std::vector<QString> shown = Export("tiles.png");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].contains(
      QString::fromStdString(input_ + "\n(開いているピクチャです。上書きはしません)")))
      << shown[0].toStdString();
  EXPECT_TRUE(shown[0].contains(QString::fromUtf8("何も書き込んでいません")));
}

TEST_F(PictureExportTest, WithoutAPictureABoxSaysSoAndNothingIsAsked) {
  Restart({"korvanth"});
  const std::vector<QString> shown = Export("");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].contains(QString::fromUtf8("ピクチャが開かれていません")));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 0);
}

}  // namespace
