// Driving the dialogs as a user would, for the dialog tests: input goes in through the
// window-system path (so modality applies as it does to real input), and a script of
// steps runs inside the dialogs' own event loops.
#pragma once

#include <QAbstractButton>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "gui_support/win32_test_calls.h"
#include "platform/linux/window_object.h"

namespace dialogs_test {

// The visible dialog or box of each kind, or null.
QFileDialog* OpenFileDialog();
QColorDialog* OpenColourDialog();
// The open colour dialog's "add to custom colours" button, found by its text in the
// language the dialog speaks; null when there is none.
QPushButton* AddCustomColourButton();
QMessageBox* OpenBox();
bool FileDialogShown();
bool ColourDialogShown();
bool BoxShown();
bool Always();

// The file dialog's name field and file-type box.
QLineEdit* NameField();
QComboBox* TypeBox();
// Opens the file-type list and clicks the entry, as a user picks it.
void ChooseType(int index);
// Types over the whole name field, as a user does who selects what it proposes first.
void TypeName(const QString& name);
void ClickSave();
void ClickCancel();
// Enter in the name field: also confirms when the completion list of a matching
// existing file is open (a click on a button would only close the list).
void PressEnter();
// The overwrite question on top of the file dialog, or null.
QMessageBox* OverwriteQuestion();

// A left click in the middle of a widget (or at `pos`), through the window system.
void Click(QWidget* widget);
void ClickAt(QWidget* widget, QPoint pos);
// A mouse move to `pos` in the widget, through the window system.
void MoveMouse(QWidget* widget, QPoint pos);
// Lets the event loop run for a while.
void WaitFor(int milliseconds);
// Gives the widget the keyboard focus in its (activated) window.
void Focus(QWidget* widget);
// Key presses and releases to the focused widget of the widget's window.
void PressKey(QWidget* widget, int key, const QString& text = QString());
// A key pressed and released in whichever window has the keyboard focus now, as a user's
// key press arrives; false when no window has it.
bool PressKeyWhereTheFocusIs(int key, const QString& text = QString());
void TypeText(QWidget* widget, const QString& text);

// The standard button of a dialog's button box (file and colour dialogs) or message box.
QAbstractButton* DialogButton(QWidget* dialog, int standardButton);

// The visible modal dialog on top, of a given type, or null.
template <typename Dialog>
Dialog* ModalOnTop() {
  return qobject_cast<Dialog*>(QApplication::activeModalWidget());
}

// Steps that run one after another, each once its condition holds, while a dialog's
// nested event loop runs. The next step waits until the action before it has returned,
// or until that action waits in the loop of a modal dialog it opened. A script that
// has not finished after its time limit rejects every open dialog, so a test fails
// instead of hanging.
class UserScript : public QObject {
 public:
  explicit UserScript(int timeLimitMs = 20000);
  ~UserScript() override;
  UserScript& when(std::function<bool()> ready, std::function<void()> action);
  void start();
  bool finished() const { return next_ == steps_.size() && !pending_ && running_.empty(); }
  bool timedOut() const { return timedOut_; }

 private:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> action;
  };
  void tick();

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  bool pending_ = false;
  std::vector<QPointer<QWidget>> running_;
  bool timedOut_ = false;
  int timeLimitMs_;
  QTimer timer_;
  QElapsedTimer clock_;
};

// An owner window for the dialogs: a plain top-level widget behind an HWND that
// records the messages it is sent.
class TestOwner : public HWND__ {
 public:
  TestOwner();
  ~TestOwner() override;
  QWidget* widget() const override { return widget_; }
  // The owner's window goes away (with the dialogs it owns).
  void destroyWidget();
  LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::vector<UINT> messages;

 private:
  QWidget* widget_;
};

}  // namespace dialogs_test
