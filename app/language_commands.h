// The 言語 menu: the window's language, switched for every caption, dialog and box at once.
#pragma once

#include "app/ui_text.h"
#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

// The thread's UI language follows the window's: the common dialogs (and, on Windows, the
// message boxes' buttons where the language is installed) speak it from their next showing.
void SpeakWindowLanguage(UiLanguage language);

// The window, its menu and the sheet preview's title take `language`; the dialogs and boxes
// shown from now on speak it.
void SwitchLanguage(WindowState& state, HWND window, UiLanguage language);

// Puts the radio mark on the current language's item.
void CheckLanguageItem(const WindowState& state, HWND window);

// A language item switches to its language; false for other commands.
bool RunLanguageCommand(WindowState& state, HWND window, WORD command);

}  // namespace korvanth
