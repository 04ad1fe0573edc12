#include "gui_support/user_actions.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>

#include "platform/portable/dialogs_internal.h"

namespace user {

using namespace dialogs_test;

QFileDialog* FileDialog() {
  QFileDialog* dialog = platform::ActiveFileDialog();
  return dialog != nullptr && dialog->isVisible() ? dialog : nullptr;
}

QColorDialog* ColourDialog() {
  QColorDialog* dialog = platform::ActiveColourDialog();
  return dialog != nullptr && dialog->isVisible() ? dialog : nullptr;
}

QMessageBox* MessageBox() {
  QMessageBox* box = platform::ActiveMessageBox();
  return box != nullptr && box->isVisible() ? box : nullptr;
}

QLineEdit* NameField() {
  return FileDialog()->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

QComboBox* TypeBox() {
  return FileDialog()->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
}

void ChooseType(int index) {
  QComboBox* types = TypeBox();
  types->showPopup();
  // The list takes a release within a double-click interval of its opening for the end
  // of the opening click, so the pick waits as long as a user's hand would.
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < QApplication::doubleClickInterval() + 50)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  QAbstractItemView* list = types->view();
  ClickAt(list->viewport(), list->visualRect(list->model()->index(index, 0)).center());
}

void TypeName(const QString& name) {
  QLineEdit* field = NameField();
  Focus(field);
  TypeText(field, name);
}

void ClickSave() { Click(DialogButton(FileDialog(), QDialogButtonBox::Save)); }

void PressEnter() { PressKey(NameField(), Qt::Key_Return); }

void ClickCancel() { Click(DialogButton(FileDialog(), QDialogButtonBox::Cancel)); }

void PressOk(QMessageBox* box) { Click(box->button(QMessageBox::Ok)); }

QMessageBox* OverwriteQuestion() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (box != nullptr && box->isVisible() && box->parentWidget() == FileDialog()) return box;
  }
  return nullptr;
}

bool Always() { return true; }

}  // namespace user
