// The Open and Save dialogs of the window, and the naming rules of saved sheets.
#pragma once

#include "platform/win32_api.h"

namespace korvanth {

// Always true. Loads the picture the user confirmed; a cancelled dialog changes nothing.
bool RunOpenDialog(HWND owner);

// False when the dialog was cancelled; otherwise whether the sheet was saved. A name
// without any '.' is completed with the chosen file type's extension.
bool RunSaveDialog(HWND owner);

// The Save dialog's hook: keeps the typed name's extension in step with the file type.
UINT_PTR CALLBACK SaveDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace korvanth
