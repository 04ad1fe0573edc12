// The Open and Save dialogs of the window, and the naming rules of saved sheets.
#pragma once

#include <string>

#include "app/dialog_start.h"
#include "app/ui_text.h"
#include "convert/output_plan.h"
#include "convert/picture_file.h"
#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

// Always true. Loads the picture the user confirmed; a cancelled dialog changes nothing.
// The dialog opens in the folder of the picture opened last.
bool RunOpenDialog(WindowState& state, HWND owner);

// Asks for a name to save under in the Save dialog (the sheet's file types), opening in
// the proposal's folder with its name and on the file type chosen last; a confirmed
// dialog is remembered in `memory`. A name without any '.' is completed with the chosen
// file type's extension. When tilesets go beside the output (`request`, whose output is
// filled in here), one question then names every file the save would replace, the
// output included, in place of the dialog's own question about the output alone; No
// opens the dialog again on the same name. False when the dialog was cancelled or the
// completed name would not fit.
bool AskWhereToSave(HWND owner, SaveProposal proposal, DialogMemory& memory, OutputRequest request,
                    UiLanguage language, char (&path)[kPathBufferSize]);

// The box of a failed save: the file and the cause, over the window, in `language`.
void ShowSaveFailure(HWND owner, const std::string& path, const Phrase& cause, UiLanguage language);

// Saves the block's sheet under the name AskWhereToSave gives, proposing STEM_FORMAT (the
// converter's format name) in the picture's folder. False when the dialog was
// cancelled; otherwise whether the sheet was saved.
bool RunSaveDialog(WindowState& state, HWND owner);

// The Save dialog's hook: keeps the typed name's extension in step with the file type.
UINT_PTR CALLBACK SaveDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace korvanth
