// GetOpenFileNameA and GetSaveFileNameA over Qt's own (non-native) file dialog.
#include <QComboBox>
#include <QDir>
#include <QLineEdit>

#include <cstring>
#include <memory>

#include "platform/linux/dialogs_internal.h"

namespace korvanth::platform {
namespace {

bool HasKnownSize(const OPENFILENAMEA& ofn) {
  return ofn.lStructSize == sizeof(OPENFILENAMEA) ||
         ofn.lStructSize == OPENFILENAME_SIZE_VERSION_400A;
}

// The name the caller put into lpstrFile, read no further than nMaxFile bytes.
QString InitialName(const OPENFILENAMEA& ofn) {
  const void* end = std::memchr(ofn.lpstrFile, '\0', ofn.nMaxFile);
  if (end == nullptr) return QString();
  return QString::fromUtf8(ofn.lpstrFile, static_cast<const char*>(end) - ofn.lpstrFile);
}

// Qt's Save dialog rewrites the suffix of the typed name when the file type changes;
// the Windows dialog leaves the name alone and tells the hook instead. This takes over
// the file-type box: the file list still follows the chosen type, the name field keeps
// its text, and the record and the hook hear about the new type.
class FileTypeTracker {
 public:
  FileTypeTracker(QFileDialog* dialog, const QStringList& nameFilters, int initialIndex,
                  OPENFILENAMEA* ofn, FileDialogWindow* dialogWindow, HookDialogWindow* hook)
      : dialog_(dialog),
        nameFilters_(nameFilters),
        current_(initialIndex),
        ofn_(ofn),
        dialogWindow_(dialogWindow),
        hook_(hook) {
    types_ = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    name_ = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (types_ == nullptr || name_ == nullptr) return;
    QObject::disconnect(types_, SIGNAL(activated(int)), dialog, nullptr);
    QObject::connect(types_, &QComboBox::activated, dialog,
                     [this](int index) { onTypeChosen(index); });
  }

  int currentIndex() const { return current_; }

 private:
  void onTypeChosen(int index) {
    if (index < 0 || index >= nameFilters_.size()) return;
    const QString typed = name_->text();
    dialog_->selectNameFilter(nameFilters_.at(index));
    // Equal descriptions would select the first of them; keep the user's entry.
    if (types_->currentIndex() != index) types_->setCurrentIndex(index);
    if (name_->text() != typed) name_->setText(typed);
    if (index == current_) return;
    current_ = index;
    ofn_->nFilterIndex = static_cast<DWORD>(index + 1);
    if (hook_ == nullptr) return;
    OFNOTIFYA notify{};
    notify.hdr.hwndFrom = dialogWindow_;
    notify.hdr.idFrom = 0;
    notify.hdr.code = CDN_TYPECHANGE;
    notify.lpOFN = ofn_;
    notify.pszFile = ofn_->lpstrFile;
    hook_->send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
  }

  QFileDialog* dialog_;
  QStringList nameFilters_;
  int current_;
  OPENFILENAMEA* ofn_;
  FileDialogWindow* dialogWindow_;
  HookDialogWindow* hook_;
  QComboBox* types_ = nullptr;
  QLineEdit* name_ = nullptr;
};

BOOL RunFileDialog(OPENFILENAMEA* ofn, bool save) {
  SetDialogError(0);
  if (ofn == nullptr || !HasKnownSize(*ofn)) {
    SetDialogError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  if (ofn->lpstrFile == nullptr || ofn->nMaxFile == 0) {
    SetDialogError(FNERR_BUFFERTOOSMALL);
    return FALSE;
  }

  const HWND owner = ofn->hwndOwner;
  UseDialogLanguage();
  QPointer<QFileDialog> dialog = new QFileDialog(OwnerWidget(owner));
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  dialog->setOption(QFileDialog::HideNameFilterDetails, true);
  dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(!save && (ofn->Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
  dialog->setOption(QFileDialog::DontConfirmOverwrite,
                    !(save && (ofn->Flags & OFN_OVERWRITEPROMPT)));
  dialog->setDefaultSuffix(ofn->lpstrDefExt != nullptr ? QString::fromUtf8(ofn->lpstrDefExt)
                                                       : QString());
  if (ofn->lpstrTitle != nullptr && *ofn->lpstrTitle != '\0')
    dialog->setWindowTitle(QString::fromUtf8(ofn->lpstrTitle));
  if (ofn->lpstrInitialDir != nullptr && *ofn->lpstrInitialDir != '\0')
    dialog->setDirectory(QString::fromUtf8(ofn->lpstrInitialDir));

  QStringList nameFilters;
  for (const FileTypeFilter& filter : ParseFilterList(ofn->lpstrFilter))
    nameFilters.append(QtNameFilter(filter));
  int initialIndex = 0;
  if (!nameFilters.isEmpty()) {
    dialog->setNameFilters(nameFilters);
    // Index 0 asks for the custom filter, which this dialog does not keep.
    if (ofn->nFilterIndex >= 1 && ofn->nFilterIndex <= static_cast<DWORD>(nameFilters.size()))
      initialIndex = static_cast<int>(ofn->nFilterIndex) - 1;
    dialog->selectNameFilter(nameFilters.at(initialIndex));
    if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
      types->setCurrentIndex(initialIndex);
  }
  const QString initialName = InitialName(*ofn);
  if (!initialName.isEmpty()) dialog->selectFile(initialName);

  FileDialogWindow dialogWindow(dialog, owner);
  std::unique_ptr<HookDialogWindow> hook;
  if ((ofn->Flags & OFN_ENABLEHOOK) && ofn->lpfnHook != nullptr) {
    auto* child = new QWidget(dialog);
    child->hide();
    hook = std::make_unique<HookDialogWindow>(&dialogWindow, child, ofn->lpfnHook);
  }
  FileTypeTracker tracker(dialog, nameFilters, initialIndex, ofn, &dialogWindow, hook.get());
  if (hook) hook->send(WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(ofn));

  int result = QDialog::Rejected;
  QStringList files;
  {
    ActiveDialogScope<QFileDialog> active(ActiveFileDialogSlot(), dialog);
    result = RunModal(dialog, owner);
    if (dialog != nullptr) files = dialog->selectedFiles();
  }
  delete dialog.data();
  ReturnFocusTo(owner);

  if (result != QDialog::Accepted || files.isEmpty()) return FALSE;
  if (!nameFilters.isEmpty()) ofn->nFilterIndex = static_cast<DWORD>(tracker.currentIndex() + 1);
  if (!StorePickedPath(QDir::toNativeSeparators(files.first()).toUtf8(), *ofn)) {
    SetDialogError(FNERR_BUFFERTOOSMALL);
    return FALSE;
  }
  return TRUE;
}

}  // namespace
}  // namespace korvanth::platform

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) { return korvanth::platform::RunFileDialog(ofn, false); }

BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) { return korvanth::platform::RunFileDialog(ofn, true); }
