// ファイル > ピクチャ全体を書き出す in the real window: the Save dialog answered as a user
// answers it, the atlas and its tilesets compared with the converter's --all --atlas for
// the same picture and settings, and the box's counts.
#include <QMessageBox>

#include <filesystem>
#include <string>

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
  // scratch folder when `name` is set, then the box, whose text is returned.
  QString Export(const std::string& name) {
    QString shown;
    UserScript script;
    if (!name.empty())
      script
          .when([] { return dialogs_test::OpenFileDialog() != nullptr; },
                [&] { dialogs_test::TypeName(QString::fromStdString(dir_.file(name))); })
          .when(dialogs_test::Always, [] { dialogs_test::ClickSave(); });
    script.when(dialogs_test::BoxShown, [&shown] {
      shown = dialogs_test::OpenBox()->text();
      dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
    });
    script.start();
    ChooseMenuItems(0, {kExportCaption});
    EXPECT_FALSE(script.timedOut());
    EXPECT_TRUE(script.finished());
    return shown;
  }
};

TEST_F(PictureExportTest, WritesTheConvertersAtlasAndTilesetsAndCountsTheBlocks) {
  // 3 x 2 blocks of 地形1 (64 x 96); the middle one of the lower row shows nothing.
  QImage picture = PatternImage(192, 192, true);
  for (int y = 96; y < 192; ++y)
    for (int x = 64; x < 128; ++x) picture.setPixel(x, y, 0);
  const std::string input = SavePicture(picture, "tiles.png");
  Restart({"korvanth", input});
  ASSERT_EQ(SourceImage.width, 192);
  ChooseMenuItems(1, {"全形状を追加(&C)"});
  for (const TilesetTarget& target : kTilesetTargets) ChooseMenuItems(1, {target.menuCaption});

  EXPECT_EQ(Export("atlas.png").toStdString(),
            "5個のブロックを書き出しました（空のブロック 1個は飛ばしました）。\n" +
                dir_.file("atlas.png"));

  // The converter's files under the same names in a folder of their own.
  fs::create_directory(dir_.path() / "cli");
  const ProgramRun run = RunProgram(
      KORVANTH_CONVERT_EXE,
      {"--all", "--atlas", "--complete", "--tileset", "both", input, dir_.file("cli/atlas.png")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(FirstDifference(ReadBack(dir_.file("cli/atlas.png")), ReadBack(dir_.file("atlas.png"))),
            "");
  for (const char* tileset : {"atlas.tsx", "atlas.tres"}) {
    const std::string expected = ReadBytes(dir_.file(std::string("cli/") + tileset));
    EXPECT_NE(expected.find("tiles_2_0"), std::string::npos) << tileset;  // named after the picture
    EXPECT_TRUE(ReadBytes(dir_.file(tileset)) == expected) << tileset;    // (long texts)
  }
}

TEST_F(PictureExportTest, WithoutAPictureABoxSaysSoAndNothingIsAsked) {
  Restart({"korvanth"});
  EXPECT_TRUE(Export("").contains(QString::fromUtf8("ピクチャが開かれていません")));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 0);
}

}  // namespace
