// Files dropped on the window: WM_DROPFILES and the DragQueryFileA buffer rules.
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/test_files.h"
#include "window_harness.h"

namespace {

QMimeData* FilesData(const std::vector<std::string>& paths) {
  auto* data = new QMimeData;
  QList<QUrl> urls;
  for (const std::string& path : paths)
    urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
  data->setUrls(urls);
  return data;
}

// As a drag does it: the drop goes to the widget that accepted the drag's entry.
void Drop(QWidget* target, QMimeData* data) {
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  delete data;
}

struct Seen {
  UINT count = 0;
  std::vector<std::string> paths;
  std::vector<UINT> lengths;
};

// A handler that reads the whole drop with a generous buffer and then finishes it.
MessageHandler Reader(Seen& seen) {
  return [&seen](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message != WM_DROPFILES) return std::nullopt;
    auto drop = reinterpret_cast<HDROP>(wParam);
    seen.count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < seen.count; ++i) {
      char buffer[1024];
      seen.lengths.push_back(DragQueryFileA(drop, i, nullptr, 0));
      DragQueryFileA(drop, i, buffer, sizeof buffer);
      seen.paths.emplace_back(buffer);
    }
    DragFinish(drop);
    return 0;
  };
}

TEST(DropFiles, ThreeFilesArriveInOneDrop) {
  ScratchDir dir;
  const std::vector<std::string> paths{dir.file("a.png"), dir.file("地形 b.bmp"),
                                       dir.file("c d.gif")};
  for (const auto& path : paths) WriteBytes(path, "x");
  Seen seen;
  TestWindow window;
  window.setHandler(Reader(seen));
  Drop(window.client(), FilesData(paths));
  EXPECT_EQ(window.only(WM_DROPFILES).size(), 1u);
  EXPECT_EQ(seen.count, 3u);
  EXPECT_EQ(seen.paths, paths);
  ASSERT_EQ(seen.lengths.size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(seen.lengths[i], paths[i].size());
}

TEST(DropFiles, TheFrameTakesDropsToo) {
  ScratchDir dir;
  Seen seen;
  TestWindow window;
  window.setHandler(Reader(seen));
  Drop(window.frame(), FilesData({dir.file("one.png")}));
  EXPECT_EQ(seen.paths, std::vector<std::string>{dir.file("one.png")});
}

TEST(DropFiles, BufferRulesNeverOverflow) {
  ScratchDir dir;
  const std::string path = dir.file("0123456789.png");
  std::vector<std::string> results;
  std::vector<UINT> copied;
  bool guardsIntact = true;
  TestWindow window;
  window.setHandler([&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message != WM_DROPFILES) return std::nullopt;
    auto drop = reinterpret_cast<HDROP>(wParam);
    for (UINT size : {1u, 5u, static_cast<UINT>(path.size()), static_cast<UINT>(path.size() + 1)}) {
      char buffer[300];
      std::memset(buffer, '#', sizeof buffer);
      copied.push_back(DragQueryFileA(drop, 0, buffer, size));
      for (size_t i = size; i < sizeof buffer; ++i) guardsIntact = guardsIntact && buffer[i] == '#';
      results.emplace_back(buffer);
    }
    char untouched[4] = {'#', '#', '#', '#'};
    copied.push_back(DragQueryFileA(drop, 0, untouched, 0));
    guardsIntact = guardsIntact && untouched[0] == '#';
    copied.push_back(DragQueryFileA(drop, 1, untouched, 4));  // no second file
    guardsIntact = guardsIntact && untouched[0] == '#';
    DragFinish(drop);
    // A finished drop is no longer a drop.
    copied.push_back(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0));
    DragFinish(drop);
    return 0;
  });
  Drop(window.client(), FilesData({path}));
  ASSERT_EQ(results.size(), 4u);
  EXPECT_TRUE(guardsIntact);
  EXPECT_EQ(results[0], "");
  EXPECT_EQ(results[1], path.substr(0, 4));
  EXPECT_EQ(results[2], path.substr(0, path.size() - 1));
  EXPECT_EQ(results[3], path);
  const std::vector<UINT> expected{
      0, 4, static_cast<UINT>(path.size() - 1), static_cast<UINT>(path.size()), 0, 0, 0};
  EXPECT_EQ(copied, expected);
}

TEST(DropFiles, AShortBufferNeverSplitsACharacter) {
  // "/形.png": the cut after 3 bytes would fall inside the 3-byte character.
  const std::string path = "/\xE5\xBD\xA2.png";
  std::string result;
  UINT copied = 99;
  TestWindow window;
  window.setHandler([&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message != WM_DROPFILES) return std::nullopt;
    auto drop = reinterpret_cast<HDROP>(wParam);
    char buffer[4];
    copied = DragQueryFileA(drop, 0, buffer, sizeof buffer);
    result = buffer;
    DragFinish(drop);
    return 0;
  });
  Drop(window.client(), FilesData({path}));
  EXPECT_EQ(copied, 1u);
  EXPECT_EQ(result, "/");
}

TEST(DropFiles, OnlyLocalFilesAndOnlyWindowsThatAcceptThem) {
  TestWindow window;
  auto* web = new QMimeData;
  web->setUrls({QUrl("https://example.invalid/a.png")});
  Drop(window.client(), web);
  auto* text = new QMimeData;
  text->setText("/tmp/a.png");
  Drop(window.client(), text);
  EXPECT_TRUE(window.only(WM_DROPFILES).empty());

  TestWindow closed(true, 0x12CF0000, WS_EX_CLIENTEDGE);
  EXPECT_FALSE(closed.frame()->acceptDrops());
  Drop(closed.client(), FilesData({"/tmp/a.png"}));
  EXPECT_TRUE(closed.only(WM_DROPFILES).empty());
  EXPECT_TRUE(window.frame()->acceptDrops());
}

TEST(DropFiles, DragEnterIsAcceptedForFilesOnly) {
  TestWindow window;
  auto* files = FilesData({"/tmp/a.png"});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.client(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  delete files;
  auto* text = new QMimeData;
  text->setText("hello");
  QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, text, Qt::LeftButton, Qt::NoModifier);
  refused.setAccepted(false);
  QApplication::sendEvent(window.client(), &refused);
  EXPECT_FALSE(refused.isAccepted());
  delete text;
}

TEST(DropFiles, BogusHandlesAreRefused) {
  char buffer[8] = "keep";
  int notADrop = 0;
  EXPECT_EQ(DragQueryFileA(nullptr, 0xFFFFFFFF, nullptr, 0), 0u);
  EXPECT_EQ(DragQueryFileA(reinterpret_cast<HDROP>(&notADrop), 0, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "keep");
  DragFinish(nullptr);
  DragFinish(reinterpret_cast<HDROP>(&notADrop));
}

}  // namespace
