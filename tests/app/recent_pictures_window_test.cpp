// The real window's ファイル > 最近使ったファイル: the pictures opened, newest first; choosing
// one opens it, and one that is gone gives the Open's box and stays in the list.
#include <QMenu>
#include <QMenuBar>

#include <filesystem>
#include <string>

#include "app/window_state.h"
#include "gui_support/main_window_fixture.h"
#include "platform/dialogs_support.h"

using namespace korvanth;

namespace {

constexpr char kRecentCaption[] = "最近使ったファイル(&R)";

class RecentPicturesWindowTest : public MainWindowFixture {
 protected:
  // The submenu's items as the menu bar shows them.
  QStringList RecentItems() {
    Settle();
    QStringList items;
    const auto* bar = client()->window()->findChild<QMenuBar*>();
    for (const QAction* entry : bar->actions().value(0)->menu()->actions())
      if (entry->text() == QString::fromUtf8(kRecentCaption))
        for (const QAction* item : entry->menu()->actions()) items << item->text();
    return items;
  }

  void ChooseRecent(const std::string& item) {
    ChooseMenuItems(0, {kRecentCaption, item.c_str()});
    Settle();
  }
};

TEST_F(RecentPicturesWindowTest, OpenedPicturesAreListedNewestFirstAndOpenFromTheMenu) {
  EXPECT_EQ(RecentItems(), QStringList{"(なし)"});
  const std::string a = SavePicture(Solid(40, 40, 0xFF0000FF), "a.png");
  const std::string b = SavePicture(Solid(50, 50, 0xFF00FF00), "b.png");
  const std::string c = SavePicture(Solid(60, 60, 0xFFFF0000), "c.png");
  for (const std::string& path : {a, b, c}) EXPECT_EQ(Load(path), "");
  const auto item = [](int number, const std::string& path) {
    return QString::fromStdString("&" + std::to_string(number) + " " + path);
  };
  EXPECT_EQ(RecentItems(), (QStringList{item(1, c), item(2, b), item(3, a)}));

  ChooseRecent(item(3, a).toStdString());
  EXPECT_EQ(MainWindowState.picture.path, a);
  EXPECT_EQ(MainWindowState.picture.width, 40);
  EXPECT_EQ(RecentItems(), (QStringList{item(1, a), item(2, c), item(3, b)}));

  // Gone since: the box that a failed Open shows, and the list as it was.
  std::filesystem::remove(b);
  QString box;
  dialogs_test::UserScript answer;
  answer.when(dialogs_test::BoxShown, [&box] {
    box = dialogs_test::OpenBox()->text();
    dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
  });
  answer.start();
  ChooseRecent(item(3, b).toStdString());
  EXPECT_TRUE(answer.finished());
  EXPECT_TRUE(box.startsWith(QString::fromStdString("開けませんでした。\n" + b + "\n(")))
      << box.toStdString();
  EXPECT_EQ(RecentItems(), (QStringList{item(1, a), item(2, c), item(3, b)}));
}

}  // namespace
