// Running the dialogs modally over their owner, and what follows when they close.
#include "platform/linux/dialogs_internal.h"

#if __has_include("platform/linux/window_internals.h")
#include "platform/linux/window_internals.h"
#define KORVANTH_HAVE_WINDOW_INTERNALS 1
#else
// The window half delivers WM_SETFOCUS to its windows and keeps the list of HWNDs that
// GetFocus knows; without it there is nobody to tell.
namespace korvanth::platform {
__attribute__((weak)) void NotifyFocusReturned(HWND window);
__attribute__((weak)) void RegisterForeignWindow(HWND window);
__attribute__((weak)) void UnregisterForeignWindow(HWND window);
}  // namespace korvanth::platform
#define KORVANTH_HAVE_WINDOW_INTERNALS 0
#endif

namespace {
thread_local DWORD lastDialogError = 0;
}

namespace korvanth::platform {

void SetDialogError(DWORD code) { lastDialogError = code; }
DWORD DialogError() { return lastDialogError; }

QWidget* OwnerWidget(HWND owner) {
  if (owner == nullptr) return nullptr;
  QWidget* widget = owner->widget();
  return widget != nullptr ? widget->window() : nullptr;
}

int RunModal(QDialog* dialog, HWND owner) {
  // Windows disables only the owner; a dialog without one blocks the application.
  dialog->setWindowModality(OwnerWidget(owner) != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
  return dialog->exec();
}

void ReturnFocusTo(HWND owner) {
  if (owner == nullptr) return;
#if KORVANTH_HAVE_WINDOW_INTERNALS
  NotifyFocusReturned(owner);
#else
  if (&NotifyFocusReturned != nullptr) NotifyFocusReturned(owner);
#endif
}

void AnnounceDialogWindow(HWND window) {
#if KORVANTH_HAVE_WINDOW_INTERNALS
  RegisterForeignWindow(window);
#else
  if (&RegisterForeignWindow != nullptr) RegisterForeignWindow(window);
#endif
}

void WithdrawDialogWindow(HWND window) {
#if KORVANTH_HAVE_WINDOW_INTERNALS
  UnregisterForeignWindow(window);
#else
  if (&UnregisterForeignWindow != nullptr) UnregisterForeignWindow(window);
#endif
}

QPointer<QFileDialog>& ActiveFileDialogSlot() {
  static QPointer<QFileDialog> slot;
  return slot;
}
QPointer<QColorDialog>& ActiveColourDialogSlot() {
  static QPointer<QColorDialog> slot;
  return slot;
}
QPointer<QMessageBox>& ActiveMessageBoxSlot() {
  static QPointer<QMessageBox> slot;
  return slot;
}

QFileDialog* ActiveFileDialog() { return ActiveFileDialogSlot().data(); }
QColorDialog* ActiveColourDialog() { return ActiveColourDialogSlot().data(); }
QMessageBox* ActiveMessageBox() { return ActiveMessageBoxSlot().data(); }

}  // namespace korvanth::platform
