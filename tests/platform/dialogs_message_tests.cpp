// MessageBoxA: the box's text, title, icon and button, modal to an owner, and without
// one a box that leaves every other window usable while it waits.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <functional>

#include "dialogs_support.h"
#include "platform/linux/dialogs_internal.h"

using namespace dialogs_test;

namespace {

struct BoxLook {
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
  bool okIsThere = false;
  Qt::TextFormat format = Qt::AutoText;
  Qt::WindowModality modality = Qt::ApplicationModal;
  QWidget* parent = nullptr;
};

BoxLook LookAt(QMessageBox* box) {
  BoxLook look;
  look.text = box->text();
  look.title = box->windowTitle();
  look.icon = box->icon();
  look.buttons = static_cast<int>(box->buttons().size());
  look.okIsThere = box->button(QMessageBox::Ok) != nullptr;
  look.format = box->textFormat();
  look.modality = box->windowModality();
  look.parent = box->parentWidget();
  return look;
}

TEST(MessageBoxTest, OwnedBoxShowsTextWithEmptyTitleWarningIconAndOneOkButton) {
  TestOwner owner;
  auto* ownerButton = new QPushButton(QStringLiteral("behind"), owner.widget());
  ownerButton->setGeometry(10, 10, 100, 30);
  ownerButton->show();
  int ownerClicks = 0;
  QObject::connect(ownerButton, &QPushButton::clicked, [&] { ++ownerClicks; });
  BoxLook look;
  UserScript script;
  script
      .when(BoxShown,
            [&] {
              look = LookAt(OpenBox());
              Click(ownerButton);  // the owner is blocked while its box shows
            })
      .when(Always, [] { Click(OpenBox()->button(QMessageBox::Ok)); });
  script.start();
  EXPECT_EQ(MessageBoxA(&owner, "ビットマップ形式で保存します", "", MB_OK | MB_ICONWARNING), IDOK);
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(look.text, QStringLiteral("ビットマップ形式で保存します"));
  EXPECT_EQ(look.title, QString());
  EXPECT_EQ(look.icon, QMessageBox::Warning);
  EXPECT_EQ(look.buttons, 1);
  EXPECT_TRUE(look.okIsThere);
  EXPECT_EQ(look.modality, Qt::WindowModal);
  EXPECT_EQ(look.parent, owner.widget());
  EXPECT_EQ(ownerClicks, 0);
  EXPECT_EQ(korvanth::platform::ActiveMessageBox(), nullptr);
}

TEST(MessageBoxTest, BoxWithoutOwnerLeavesOtherWindowsUsable) {
  QWidget other;
  other.resize(200, 100);
  auto* button = new QPushButton(QStringLiteral("still here"), &other);
  button->setGeometry(10, 10, 120, 30);
  other.show();
  int clicks = 0;
  QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
  BoxLook look;
  QWidget* modalWhileShown = reinterpret_cast<QWidget*>(1);
  UserScript script;
  script
      .when(BoxShown,
            [&] {
              look = LookAt(OpenBox());
              modalWhileShown = QApplication::activeModalWidget();
              Click(button);
              Click(button);
            })
      .when([&] { return clicks == 2; }, [] { Click(OpenBox()->button(QMessageBox::Ok)); });
  script.start();
  EXPECT_EQ(MessageBoxA(nullptr, "Bmpをロックできません", "", MB_OK), IDOK);
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(modalWhileShown, nullptr);
  EXPECT_EQ(look.modality, Qt::NonModal);
  EXPECT_EQ(look.parent, nullptr);
  EXPECT_EQ(look.icon, QMessageBox::NoIcon);
  EXPECT_EQ(look.text, QStringLiteral("Bmpをロックできません"));
}

TEST(MessageBoxTest, MarkupIsShownAsTextAndOtherIconsMap) {
  BoxLook look;
  UserScript script;
  script.when(BoxShown, [&] {
    look = LookAt(OpenBox());
    PressKey(OpenBox(), Qt::Key_Escape);
  });
  script.start();
  EXPECT_EQ(MessageBoxA(nullptr, "<b>not bold</b>", nullptr, MB_ICONERROR), IDOK);
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(look.format, Qt::PlainText);
  EXPECT_EQ(look.text, QStringLiteral("<b>not bold</b>"));
  EXPECT_EQ(look.icon, QMessageBox::Critical);
  EXPECT_EQ(look.title, QStringLiteral("Error"));
}

TEST(MessageBoxTest, BoxHiddenFromElsewhereStillReturns) {
  UserScript script;
  script.when(BoxShown, [] { OpenBox()->hide(); });
  script.start();
  EXPECT_EQ(MessageBoxA(nullptr, "text", "title", MB_ICONINFORMATION), IDOK);
  EXPECT_FALSE(script.timedOut());
}

TEST(MessageBoxTest, OwnerGoingAwayWhileTheBoxShowsEndsIt) {
  TestOwner owner;
  UserScript script;
  script.when(BoxShown, [&] { owner.destroyWidget(); });
  script.start();
  EXPECT_EQ(MessageBoxA(&owner, "text", "", MB_OK), IDOK);
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(korvanth::platform::ActiveMessageBox(), nullptr);
}

// MB_YESNO: the two buttons, the one MB_DEFBUTTON2 makes the default for Enter, and the
// answer of each way out (Escape says No).
TEST(MessageBoxTest, YesNoBoxAnswersWithTheButtonChosen) {
  struct Case {
    UINT type;
    std::function<void(QMessageBox*)> answer;
    int expected;
  };
  const auto click = [](QMessageBox::StandardButton button) {
    return [button](QMessageBox* box) { Click(box->button(button)); };
  };
  const auto press = [](int key) { return [key](QMessageBox* box) { PressKey(box, key); }; };
  const Case cases[] = {
      {MB_YESNO, click(QMessageBox::Yes), IDYES},
      {MB_YESNO | MB_ICONWARNING, click(QMessageBox::No), IDNO},
      {MB_YESNO, press(Qt::Key_Return), IDYES},
      {MB_YESNO | MB_DEFBUTTON2, press(Qt::Key_Return), IDNO},
      {MB_YESNO, press(Qt::Key_Escape), IDNO},
  };
  for (const Case& c : cases) {
    TestOwner owner;
    int buttons = 0;
    UserScript script;
    script.when(BoxShown, [&] {
      buttons = static_cast<int>(OpenBox()->buttons().size());
      c.answer(OpenBox());
    });
    script.start();
    EXPECT_EQ(MessageBoxA(&owner, "置き換えますか？", "", c.type), c.expected) << c.type;
    EXPECT_FALSE(script.timedOut());
    EXPECT_EQ(buttons, 2);
  }
}

}  // namespace
