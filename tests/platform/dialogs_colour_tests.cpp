// ChooseColorA driven as a user drives it: the initial colour, a colour typed into the
// dialog, the custom colours going in and coming back, OK and Cancel.
#include <gtest/gtest.h>

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs_support.h"
#include "platform/linux/dialogs_internal.h"

using namespace dialogs_test;

namespace {

// The dialog's HTML field ("#rrggbb").
QLineEdit* HtmlField() {
  for (QLineEdit* edit : OpenColourDialog()->findChildren<QLineEdit*>())
    if (edit->text().startsWith(QLatin1Char('#'))) return edit;
  return nullptr;
}

void TypeHtmlColour(const QString& html) {
  QLineEdit* field = HtmlField();
  Focus(field);
  PressKey(field, Qt::Key_End);
  for (int i = 0; i < 10; ++i) PressKey(field, Qt::Key_Backspace);
  TypeText(field, html);
}

QPushButton* AddCustomButton() { return AddCustomColourButton(); }

class ColourDialogTest : public ::testing::Test {
 protected:
  CHOOSECOLORA Record() {
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = &owner_;
    cc.rgbResult = RGB(0x10, 0x20, 0x30);
    cc.lpCustColors = custom_;
    cc.Flags = CC_RGBINIT;
    return cc;
  }
  void SetUp() override {
    for (int i = 0; i < 16; ++i) custom_[i] = RGB(i, 2 * i, 3 * i + 1);
  }
  TestOwner owner_;
  COLORREF custom_[16];
};

TEST_F(ColourDialogTest, StartsOnTheGivenColourAndReturnsTheChosenOne) {
  CHOOSECOLORA cc = Record();
  QColor initial;
  Qt::WindowModality modality = Qt::NonModal;
  QWidget* parent = nullptr;
  UserScript script;
  script
      .when(ColourDialogShown,
            [&] {
              initial = OpenColourDialog()->currentColor();
              modality = OpenColourDialog()->windowModality();
              parent = OpenColourDialog()->parentWidget();
              TypeHtmlColour(QStringLiteral("#112233"));
            })
      .when(Always, [] { Click(DialogButton(OpenColourDialog(), QDialogButtonBox::Ok)); });
  script.start();
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(initial, QColor(0x10, 0x20, 0x30));
  EXPECT_EQ(cc.rgbResult, 0x00332211u);
  EXPECT_EQ(modality, Qt::WindowModal);
  EXPECT_EQ(parent, owner_.widget());
}

TEST_F(ColourDialogTest, WithoutRgbInitStartsOnBlack) {
  CHOOSECOLORA cc = Record();
  cc.Flags = 0;
  QColor initial;
  UserScript script;
  script.when(ColourDialogShown, [&] {
    initial = OpenColourDialog()->currentColor();
    Click(DialogButton(OpenColourDialog(), QDialogButtonBox::Ok));
  });
  script.start();
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(initial, QColor(0, 0, 0));
  EXPECT_EQ(cc.rgbResult, 0u);
}

TEST_F(ColourDialogTest, CancelKeepsTheColourButHandsBackTheCustomColours) {
  CHOOSECOLORA cc = Record();
  std::vector<QColor> offered;
  UserScript script;
  script
      .when(ColourDialogShown,
            [&] {
              for (int i = 0; i < 16; ++i) offered.push_back(QColorDialog::customColor(i));
              TypeHtmlColour(QStringLiteral("#445566"));
              Click(AddCustomButton());
            })
      .when(Always, [] { Click(DialogButton(OpenColourDialog(), QDialogButtonBox::Cancel)); });
  script.start();
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(cc.rgbResult, RGB(0x10, 0x20, 0x30));
  ASSERT_EQ(offered.size(), 16u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(offered[i], QColor(i, 2 * i, 3 * i + 1)) << i;
  EXPECT_EQ(custom_[0], RGB(0x44, 0x55, 0x66));
  for (int i = 1; i < 16; ++i) EXPECT_EQ(custom_[i], RGB(i, 2 * i, 3 * i + 1)) << i;
}

TEST_F(ColourDialogTest, EachCallOffersItsOwnArray) {
  COLORREF other[16];
  for (int i = 0; i < 16; ++i) other[i] = RGB(200, i, 100);
  CHOOSECOLORA cc = Record();
  cc.lpCustColors = other;
  std::vector<QColor> offered;
  UserScript script;
  script.when(ColourDialogShown, [&] {
    for (int i = 0; i < 16; ++i) offered.push_back(QColorDialog::customColor(i));
    OpenColourDialog()->reject();
  });
  script.start();
  EXPECT_FALSE(ChooseColorA(&cc));
  ASSERT_EQ(offered.size(), 16u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(offered[i], QColor(200, i, 100)) << i;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(other[i], RGB(200, i, 100)) << i;
}

TEST_F(ColourDialogTest, RecordOfUnknownSizeIsRefused) {
  CHOOSECOLORA cc = Record();
  cc.lStructSize = 12;
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
  EXPECT_EQ(cc.rgbResult, RGB(0x10, 0x20, 0x30));
  EXPECT_FALSE(ChooseColorA(nullptr));
}

}  // namespace
