// The file dialog and its hook dialog as HWNDs, and the two USER32 calls the hook uses
// to reach the dialog's controls.
#include "platform/linux/dialogs_internal.h"

namespace korvanth::platform {
namespace {

LRESULT WindowTitleMessage(QWidget* widget, UINT message, WPARAM wParam, LPARAM lParam) {
  if (widget == nullptr) return 0;
  switch (message) {
    case WM_GETTEXT:
      return static_cast<LRESULT>(
          CopyTextOut(widget->windowTitle().toUtf8(), wParam, reinterpret_cast<char*>(lParam)));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(widget->windowTitle().toUtf8().size());
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      widget->setWindowTitle(text != nullptr ? QString::fromUtf8(text) : QString());
      return TRUE;
    }
    default:
      return 0;
  }
}

}  // namespace

FileDialogWindow::FileDialogWindow(QFileDialog* dialog, HWND owner)
    : dialog_(dialog), owner_(owner) {
  AnnounceDialogWindow(this);
}

FileDialogWindow::~FileDialogWindow() { WithdrawDialogWindow(this); }

QWidget* FileDialogWindow::widget() const { return dialog_.data(); }

LRESULT FileDialogWindow::send(UINT message, WPARAM wParam, LPARAM lParam) {
  return WindowTitleMessage(dialog_.data(), message, wParam, lParam);
}

LRESULT FileDialogWindow::sendToItem(int itemId, UINT message, WPARAM wParam, LPARAM lParam) {
  if (dialog_ == nullptr) return 0;
  // Older dialogs name the file-name field edt1, newer ones cmb13; both reach it.
  if (itemId == edt1 || itemId == cmb13) {
    return LineEditTextMessage(dialog_->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")),
                               message, wParam, lParam);
  }
  return 0;
}

HookDialogWindow::HookDialogWindow(FileDialogWindow* dialogWindow, QWidget* child,
                                   LPOFNHOOKPROC hook)
    : dialogWindow_(dialogWindow), child_(child), hook_(hook) {
  AnnounceDialogWindow(this);
}

HookDialogWindow::~HookDialogWindow() { WithdrawDialogWindow(this); }

LRESULT HookDialogWindow::send(UINT message, WPARAM wParam, LPARAM lParam) {
  if (hook_ == nullptr) return 0;
  return static_cast<LRESULT>(hook_(this, message, wParam, lParam));
}

}  // namespace korvanth::platform

HWND GetParent(HWND window) { return window != nullptr ? window->parent() : nullptr; }

LRESULT SendDlgItemMessageA(HWND dialog, int itemId, UINT message, WPARAM wParam, LPARAM lParam) {
  return dialog != nullptr ? dialog->sendToItem(itemId, message, wParam, lParam) : 0;
}
