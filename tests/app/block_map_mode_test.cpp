// The block-map mode in the real window: clicks and Enter put blocks on the map beside the
// picture and take them off, the mapped blocks are outlined in their format's colour, and a
// damaged map is said so and never written over.
#include <QMessageBox>
#include <QTest>

#include <filesystem>
#include <string>

#include "app/menu_resource.h"
#include "app/window_state.h"
#include "convert/block_map.h"
#include "gui_support/main_window_fixture.h"
#include "platform/dialogs_support.h"
#include "platform/linux/window_internals.h"

using namespace korvanth;

using dialogs_test::UserScript;

namespace {

constexpr unsigned kDark = 0xFF203040;  // the grid on it is white
constexpr QRgb kWhite = 0xFFFFFFFF;
// The outline colours, as the README gives them.
constexpr QRgb kTerrain2Yellow = 0xFFFFD800;
constexpr QRgb kRoofMagenta = 0xFFFF40FF;

class BlockMapModeTest : public MainWindowFixture {
 protected:
  void OpenTiles() {
    picture_ = SavePicture(Solid(256, 224, kDark), "tiles.png");
    Restart({"korvanth", picture_});
    ASSERT_EQ(MainWindowState.picture.width, 256);
  }

  std::string MapPath() const { return picture_ + ".blocks"; }

  BlockMap MapInFile() const {
    const BlockMapParse parse = ParseBlockMap(ReadBytes(MapPath()));
    EXPECT_TRUE(parse.ok()) << parse.problem.english;
    return parse.map.value_or(BlockMap{});
  }

  static BlockMap Map(const char* text) { return ParseBlockMap(text).map.value(); }

  // The first release after the window gains the focus only arms it.
  void Arm() {
    if (!MainWindowState.clickArmed) ReleaseLeft(300, 300);
    ASSERT_TRUE(MainWindowState.clickArmed);
  }

  void ClickCell(int column, int row) {
    MoveMouse(column * 32 + 5, row * 32 + 5);
    ReleaseLeft(column * 32 + 5, row * 32 + 5);
    Settle();
  }

  // Clicks the cell and answers the message box that follows; its text.
  QString ClickCellForBox(int column, int row) {
    QString text;
    UserScript script;
    script.when(dialogs_test::BoxShown, [&text] {
      text = dialogs_test::OpenBox()->text();
      dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
    });
    script.start();
    ClickCell(column, row);
    EXPECT_FALSE(script.timedOut());
    EXPECT_TRUE(script.finished());
    return text;
  }

  std::string picture_;
};

TEST_F(BlockMapModeTest, ClicksAndEnterPutAndTakeBlocksOnTheMapBesideThePicture) {
  OpenTiles();
  QAction* item = korvanth::platform::MenuAction(window(), IDM_FORMAT_BLOCK_MAP);
  ASSERT_NE(item, nullptr);
  EXPECT_FALSE(item->isChecked());  // off at start
  ChooseMenuItems(1, {"ブロックマップを編集(&M)"});
  EXPECT_TRUE(item->isChecked());
  Arm();
  ClickCell(0, 0);
  Command(IDM_FORMAT_ROOF);
  ClickCell(6, 3);
  EXPECT_EQ(dialogs_test::OpenFileDialog(), nullptr);  // no Save dialog in the mode
  EXPECT_EQ(MapInFile(), Map("tile-size 32\n0,0 terrain1 tiles_0_0\n6,3 roof tiles_6_3"));
  // The whole-picture export takes those two blocks (8 without a map).
  QString counts;
  UserScript script;
  script
      .when(dialogs_test::FileDialogShown,
            [this] { dialogs_test::TypeName(QString::fromStdString(dir_.file("atlas.png"))); })
      .when(dialogs_test::Always, [] { dialogs_test::ClickSave(); })
      .when(dialogs_test::BoxShown, [&counts] {
        counts = dialogs_test::OpenBox()->text();
        dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
      });
  script.start();
  Command(IDM_FILE_EXPORT_ALL);
  EXPECT_TRUE(script.finished());
  EXPECT_TRUE(counts.startsWith(QString::fromUtf8("2個のブロックを書き出しました")))
      << counts.toStdString();
  Arm();

  ClickCell(7, 4);  // the roof's last cell
  EXPECT_EQ(MapInFile(), Map("tile-size 32\n0,0 terrain1 tiles_0_0"));
  MoveMouse(1 * 32 + 5, 2 * 32 + 5);  // the terrain's last cell
  QTest::keyClick(client(), Qt::Key_Return);
  Settle();
  EXPECT_FALSE(std::filesystem::exists(MapPath()));  // no map: the picture's grid again
}

// Every pixel of the picture's top left, at two zooms and out of the mode: each mapped
// block's band, two screen pixels inside its edge, in its format's colour, over the grid;
// the grid and the picture elsewhere.
TEST_F(BlockMapModeTest, MappedBlocksAreOutlinedInTheirFormatsColour) {
  picture_ = dir_.file("tiles.png");
  // Cells of 16: the roof at pixels (16, 16) 32 x 32, two terrain2 frames of 48 x 64 from (64, 0).
  WriteBytes(MapPath(), "tile-size 16\n1,1 roof r\n4,0 terrain2 t 2\n");
  OpenTiles();
  ResizeClient(400, 300);
  MoveMouse(7 * 32 + 5, 6 * 32 + 5);  // the block goes to (192, 128), out of the way
  struct Outline {
    QRect block;
    QRgb colour;
  };
  const Outline outlines[] = {{QRect(16, 16, 32, 32), kRoofMagenta},
                              {QRect(64, 0, 48, 64), kTerrain2Yellow},
                              {QRect(112, 0, 48, 64), kTerrain2Yellow}};
  struct Case {
    bool mode;
    UINT zoom;
  };
  for (const Case c :
       {Case{true, IDM_VIEW_ZOOM1}, Case{true, IDM_VIEW_ZOOM2}, Case{false, IDM_VIEW_ZOOM1}}) {
    if (MainWindowState.blockMap.editing != c.mode) Command(IDM_FORMAT_BLOCK_MAP);
    Command(c.zoom);
    Scroll(WM_HSCROLL, SB_TOP);
    Scroll(WM_VSCROLL, SB_TOP);
    const int zoom = static_cast<int>(c.zoom - IDM_VIEW_ZOOM1 + 1);
    const QImage shown = Paint();
    for (int y = 0; y < 100 * zoom; ++y) {
      for (int x = 0; x < 180 * zoom; ++x) {
        QRgb expected = x % (32 * zoom) == 0 || y % (32 * zoom) == 0 ? kWhite : kDark;
        for (const Outline& outline : outlines) {
          const QRect block(outline.block.topLeft() * zoom, outline.block.size() * zoom);
          if (c.mode && block.contains(x, y) && !block.adjusted(2, 2, -2, -2).contains(x, y))
            expected = outline.colour;
        }
        ASSERT_EQ(shown.pixel(x, y), expected)
            << x << "," << y << " mode " << c.mode << " zoom " << zoom;
      }
    }
  }
}

TEST_F(BlockMapModeTest, ADamagedMapIsSaidSoAndNotWrittenOverUntilFixed) {
  picture_ = SavePicture(Solid(256, 224, kDark), "tiles.png");
  const std::string damaged = "0,0 terrain1 a\n1,1 roof b\n";  // b overlaps a
  WriteBytes(MapPath(), damaged);
  Restart({"korvanth"});
  const QString said = Load(picture_);
  // The Japanese window's box is Japanese throughout, its cause included.
  EXPECT_EQ(said.toStdString(),
            "ブロックマップを読めません。直すか消すまで、このファイルには書き込みません。\n" +
                MapPath() + "\n(2行目：このブロックは1行目の「a」と重なります)");

  Command(IDM_FORMAT_BLOCK_MAP);  // no box: it was said at the open
  Arm();
  EXPECT_EQ(ClickCellForBox(4, 0), said);
  EXPECT_EQ(ReadBytes(MapPath()), damaged);

  WriteBytes(MapPath(), "0,0 terrain1 a\n");  // fixed in a text editor
  Arm();                                      // the box had the focus
  ClickCell(4, 0);
  EXPECT_EQ(MapInFile(), Map("tile-size 32\n0,0 terrain1 a\n4,0 terrain1 tiles_4_0"));
}

}  // namespace
