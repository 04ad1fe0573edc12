// The real window's status bar: the pointer's cell, the block, format, tile size and zoom
// after a move, the saved sheet after a save, in both languages; the rows it takes from
// the view, given back when the 表示 menu hides it.
#include <QStatusBar>

#include <string>

#include "app/menu_resource.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "platform/linux/window_internals.h"

using namespace korvanth;

namespace {

class StatusBarWindowTest : public MainWindowFixture {
 protected:
  void Open(int width, int height) {
    Restart({"korvanth", SavePicture(PatternImage(width, height, false), "tiles.png")});
    ASSERT_EQ(MainWindowState.picture.width, width);
  }

  // The text the bar's part shows, as UTF-8.
  std::string Part(int part) const {
    HWND bar = MainWindowState.status.window;
    std::u16string text(LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0)) + 1u, u'\0');
    SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.pop_back();
    return QString::fromStdU16String(text).toStdString();
  }

  int BarHeight() const { return MainWindowState.status.window->widget()->height(); }
};

TEST_F(StatusBarWindowTest, PointerPartTellsCellBlockFormatTileAndZoomInBothLanguages) {
  ASSERT_NE(MainWindowState.status.window, nullptr);
  EXPECT_EQ(Part(0), "");  // no picture, nothing under the pointer
  Open(200, 150);
  MoveMouse(70, 40);
  EXPECT_EQ(Part(0), "セル 2, 1　ブロック 64, 32　地形1　タイル 32　1倍");

  MainWindowState.language = UiLanguage::English;
  Command(IDM_FORMAT_ROOF);
  Command(IDM_VIEW_ZOOM2);  // 400 x 300 on screen: no scrolling
  // Picture pixel (70, 100): cell (2, 3); the 64 x 64 roof block is pulled up to row 86.
  MoveMouse(140, 200);
  EXPECT_EQ(Part(0), "Cell 2, 3   Block at 64, 86   Roof   Tile 32   2x");
}

TEST_F(StatusBarWindowTest, SaveNamesTheSheetAndItsTilesetsInBothLanguages) {
  Open(200, 150);
  MainWindowState.tilesets = kAllTilesets;
  ASSERT_FALSE(ClickAndSave(40, 40, "grass.png").isNull());
  EXPECT_EQ(Part(1), "保存しました: " + dir_.file("grass.png") + "（タイルセット 2 個）");

  MainWindowState.language = UiLanguage::English;
  MainWindowState.tilesets = kNoTilesets;
  ASSERT_FALSE(ClickAndSave(40, 40, "sand.png").isNull());
  EXPECT_EQ(Part(1), "saved " + dir_.file("sand.png"));
}

TEST_F(StatusBarWindowTest, TheBarsRowsAreLeftOutOfTheViewUntilTheViewMenuHidesIt) {
  Open(300, 1000);
  const RECT client = ClientRect();
  ASSERT_GT(BarHeight(), 10);
  EXPECT_TRUE(IsWindowVisible(MainWindowState.status.window));
  EXPECT_EQ(GetMenuState(GetMenu(window()), IDM_VIEW_STATUS_BAR, MF_BYCOMMAND), UINT{MF_CHECKED});
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(window(), SB_VERT, &info);
  EXPECT_EQ(static_cast<int>(info.nPage), client.bottom - BarHeight());
  // The picture's last rows scroll into sight above the bar.
  Scroll(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(MainWindowState.view.vertical.offset, 1000 - (client.bottom - BarHeight()));

  Command(IDM_VIEW_STATUS_BAR);
  EXPECT_FALSE(IsWindowVisible(MainWindowState.status.window));
  EXPECT_EQ(GetMenuState(GetMenu(window()), IDM_VIEW_STATUS_BAR, MF_BYCOMMAND), 0u);
  GetScrollInfo(window(), SB_VERT, &info);
  EXPECT_EQ(static_cast<int>(info.nPage), client.bottom);
  EXPECT_EQ(MainWindowState.view.client.bottom, client.bottom);
  // The rows the bar covered show the picture's foot: the last row of the pattern.
  const QImage shown = Paint();
  const QImage expected = PatternImage(300, 1000, false);
  EXPECT_EQ(qRed(shown.pixel(5, client.bottom - 1)), qRed(expected.pixel(5, 999)));
  EXPECT_EQ(qGreen(shown.pixel(5, client.bottom - 1)), qGreen(expected.pixel(5, 999)));

  Command(IDM_VIEW_STATUS_BAR);
  EXPECT_TRUE(IsWindowVisible(MainWindowState.status.window));
  EXPECT_EQ(MainWindowState.view.client.bottom, client.bottom - BarHeight());
}

}  // namespace
