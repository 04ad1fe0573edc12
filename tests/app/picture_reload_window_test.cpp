// The real window reading its picture again when the file changes on disk: the view and
// the block stay; a damaged file leaves the last good picture, and the status bar says so.
#include <QElapsedTimer>

#include <string>

#include "app/menu_resource.h"
#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"

using namespace korvanth;

namespace {

class PictureReloadTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    path_ = SavePicture(PatternImage(300, 400, false), "tiles.png");
    Restart({"korvanth", path_});
    ASSERT_EQ(MainWindowState.picture.width, 300);
  }

  // Lets the window's timer run until the status bar's message changes (at most 5 s).
  std::string NextMessage() {
    const std::string before = MainWindowState.status.message;
    QElapsedTimer clock;
    clock.start();
    while (MainWindowState.status.message == before && clock.elapsed() < 5000) Settle(50);
    return MainWindowState.status.message;
  }

  std::string path_;
};

TEST_F(PictureReloadTest, ARewrittenFileIsShownWithTheSameViewAndBlock) {
  Command(IDM_VIEW_ZOOM2);
  Scroll(WM_VSCROLL, SB_THUMBPOSITION, 100);
  Scroll(WM_HSCROLL, SB_THUMBPOSITION, 40);
  MoveMouse(150, 120);
  const ImageHandle* old = MainWindowState.picture.image;
  const int top = MainWindowState.view.vertical.offset;
  const int left = MainWindowState.view.horizontal.offset;
  const SelectionPoint block = SelectionOrigin(MainWindowState);
  ASSERT_GT(top, 0);

  // A paint program's save: the same size, other pixels (red 255 is no pattern pixel's
  // at these coordinates).
  SavePicture(Solid(300, 400, 0xFFFF0000), "tiles.png");
  EXPECT_EQ(NextMessage(), "変更されたので読み込み直しました: " + path_);
  EXPECT_NE(MainWindowState.picture.image, old);
  EXPECT_EQ(MainWindowState.view.zoom, 2);
  EXPECT_EQ(MainWindowState.view.vertical.offset, top);
  EXPECT_EQ(MainWindowState.view.horizontal.offset, left);
  EXPECT_EQ(SelectionOrigin(MainWindowState).x, block.x);
  EXPECT_EQ(SelectionOrigin(MainWindowState).y, block.y);
  EXPECT_EQ(Paint().pixel(7, 7), 0xFFFF0000u);  // off the grid and the block
}

TEST_F(PictureReloadTest, ADamagedWriteKeepsTheLastGoodPictureUntilTheFileIsWhole) {
  MoveMouse(200, 300);  // the block away from the pixel looked at
  const std::string whole = ReadBytes(path_);
  const ImageHandle* good = MainWindowState.picture.image;
  WriteBytes(path_, whole.substr(0, whole.size() / 2));
  const std::string message = NextMessage();
  const std::string head = "変更されましたが読み込めませんでした: " + path_ + "（";
  const std::string tail = "）。前に読めたピクチャのままです";
  EXPECT_EQ(message.substr(0, head.size()), head);
  ASSERT_GT(message.size(), head.size() + tail.size());
  EXPECT_EQ(message.substr(message.size() - tail.size()), tail);
  EXPECT_EQ(MainWindowState.picture.image, good);
  EXPECT_EQ(MainWindowState.picture.width, 300);
  EXPECT_EQ(Paint().pixel(7, 7) & 0xFFFFFF, PatternImage(300, 400, false).pixel(7, 7) & 0xFFFFFF);

  // The English window, and the writer finishes: the whole file is read.
  MainWindowState.language = UiLanguage::English;
  WriteBytes(path_, whole);
  EXPECT_EQ(NextMessage(), "reloaded " + path_ + " (it changed on disk)");
  EXPECT_NE(MainWindowState.picture.image, good);
}

}  // namespace
