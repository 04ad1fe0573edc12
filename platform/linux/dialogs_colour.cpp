// ChooseColorA over Qt's own (non-native) colour dialog.
#include "platform/linux/dialogs_internal.h"

namespace korvanth::platform {
namespace {

constexpr int kCustomColourCount = 16;

QColor FromColorRef(COLORREF colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

COLORREF ToColorRef(const QColor& colour) {
  const QRgb rgb = colour.rgb();
  return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

}  // namespace
}  // namespace korvanth::platform

BOOL ChooseColorA(LPCHOOSECOLORA cc) {
  using namespace korvanth::platform;
  SetDialogError(0);
  if (cc == nullptr || cc->lStructSize != sizeof(CHOOSECOLORA)) {
    SetDialogError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  // Qt keeps one set of custom colours for the process; the caller's array is the
  // real store, so it is loaded before and saved after every dialog.
  if (cc->lpCustColors != nullptr) {
    for (int i = 0; i < kCustomColourCount; ++i)
      QColorDialog::setCustomColor(i, FromColorRef(cc->lpCustColors[i]));
  }

  const HWND owner = cc->hwndOwner;
  UseDialogLanguage();
  QPointer<QColorDialog> dialog = new QColorDialog(OwnerWidget(owner));
  dialog->setOption(QColorDialog::DontUseNativeDialog, true);
  dialog->setCurrentColor((cc->Flags & CC_RGBINIT) ? FromColorRef(cc->rgbResult) : QColor(0, 0, 0));

  int result = QDialog::Rejected;
  QColor chosen;
  {
    ActiveDialogScope<QColorDialog> active(ActiveColourDialogSlot(), dialog);
    result = RunModal(dialog, owner);
    if (dialog != nullptr) chosen = dialog->selectedColor();
  }
  delete dialog.data();

  if (cc->lpCustColors != nullptr) {
    for (int i = 0; i < kCustomColourCount; ++i)
      cc->lpCustColors[i] = ToColorRef(QColorDialog::customColor(i));
  }
  ReturnFocusTo(owner);
  if (result != QDialog::Accepted || !chosen.isValid()) return FALSE;
  cc->rgbResult = ToColorRef(chosen);
  return TRUE;
}
