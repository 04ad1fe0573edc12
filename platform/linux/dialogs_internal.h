// Off Windows: what the dialog half of the Win32 subset shares between its files, and
// the hooks through which tests find the dialog that is open.
#pragma once

#include <QByteArray>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <vector>

#include "platform/linux/win32_dialogs.h"
#include "platform/linux/window_object.h"

namespace korvanth::platform {

// Puts Qt's translation of its dialogs in step with the thread's UI language
// (SetThreadUILanguage) before a dialog shows: Japanese, or Qt's own English. False when
// Japanese is asked for and the translation is not installed (the dialogs then stay in
// English).
bool UseDialogLanguage();

// One entry of an OPENFILENAME filter list: the description as shown, and the
// patterns as the Qt file model understands them.
struct FileTypeFilter {
  QString description;
  QStringList patterns;
};

// Reads an lpstrFilter list (description, patterns, ..., ended by an empty string).
// A description without its pattern string ends the list.
std::vector<FileTypeFilter> ParseFilterList(const char* list);

// The Qt name filter of one entry: "description (patterns)".
QString QtNameFilter(const FileTypeFilter& filter);

// Copies UTF-8 text into a buffer of `size` bytes as WM_GETTEXT does: at most size - 1
// bytes, never a partial character, then a terminator. Returns the bytes copied.
std::size_t CopyTextOut(const QByteArray& utf8, std::size_t size, char* buffer);

// WM_GETTEXT, WM_GETTEXTLENGTH and WM_SETTEXT on a line edit; 0 for other messages.
LRESULT LineEditTextMessage(QLineEdit* edit, UINT message, WPARAM wParam, LPARAM lParam);

// Puts a confirmed path into the record: lpstrFile, nFileOffset, nFileExtension and,
// when asked for, lpstrFileTitle. When a buffer is too small nothing is written but the
// needed size in its first two bytes, as Windows does, and the result is false.
bool StorePickedPath(const QByteArray& path, OPENFILENAMEA& ofn);

// The last common-dialog call's error on this thread (Win32's CommDlgExtendedError), 0
// after a success or a cancel.
void SetDialogError(DWORD code);
DWORD DialogError();

// The top-level widget of an owner window, or null.
QWidget* OwnerWidget(HWND owner);

// Runs a dialog modally: window-modal to its owner when it has one.
int RunModal(QDialog* dialog, HWND owner);

// The owner gets WM_SETFOCUS once a dialog it owned has closed.
void ReturnFocusTo(HWND owner);

// Makes a dialog HWND known to GetFocus, WindowForWidget and IsForeign while it lives.
void AnnounceDialogWindow(HWND window);
void WithdrawDialogWindow(HWND window);

// The Save/Open dialog as an HWND: the parent of the hook dialog, whose controls the
// hook reaches with SendDlgItemMessageA (edt1 and cmb13: the file-name field).
class FileDialogWindow final : public HWND__ {
 public:
  FileDialogWindow(QFileDialog* dialog, HWND owner);
  ~FileDialogWindow() override;
  FileDialogWindow(const FileDialogWindow&) = delete;
  FileDialogWindow& operator=(const FileDialogWindow&) = delete;
  QWidget* widget() const override;
  HWND parent() const override { return owner_; }
  LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT sendToItem(int itemId, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  QPointer<QFileDialog> dialog_;
  HWND owner_;
};

// The hook's own child dialog: messages sent to it go to the hook procedure.
class HookDialogWindow final : public HWND__ {
 public:
  HookDialogWindow(FileDialogWindow* dialogWindow, QWidget* child, LPOFNHOOKPROC hook);
  ~HookDialogWindow() override;
  HookDialogWindow(const HookDialogWindow&) = delete;
  HookDialogWindow& operator=(const HookDialogWindow&) = delete;
  QWidget* widget() const override { return child_; }
  HWND parent() const override { return dialogWindow_; }
  LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  FileDialogWindow* dialogWindow_;
  QPointer<QWidget> child_;
  LPOFNHOOKPROC hook_;
};

// Test hooks: the dialog of each kind that is open now, or null.
QFileDialog* ActiveFileDialog();
QColorDialog* ActiveColourDialog();
QMessageBox* ActiveMessageBox();

// Records the open dialog of a kind for the test hooks while it lives.
template <typename Dialog>
class ActiveDialogScope {
 public:
  ActiveDialogScope(QPointer<Dialog>& slot, Dialog* dialog) : slot_(slot), previous_(slot) {
    slot_ = dialog;
  }
  ~ActiveDialogScope() { slot_ = previous_; }
  ActiveDialogScope(const ActiveDialogScope&) = delete;
  ActiveDialogScope& operator=(const ActiveDialogScope&) = delete;

 private:
  QPointer<Dialog>& slot_;
  QPointer<Dialog> previous_;
};

QPointer<QFileDialog>& ActiveFileDialogSlot();
QPointer<QColorDialog>& ActiveColourDialogSlot();
QPointer<QMessageBox>& ActiveMessageBoxSlot();

}  // namespace korvanth::platform
