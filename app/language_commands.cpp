// Switching the window's language: the thread's UI language, the menu built afresh, titles.
#include "app/language_commands.h"

#include "app/main_menu.h"
#include "app/menu_install.h"
#include "app/sheet_preview.h"
#include "app/window_state.h"

namespace korvanth {

void SpeakWindowLanguage(UiLanguage language) {
  SetThreadUILanguage(language == UiLanguage::English
                          ? MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)
                          : MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN));
}

void SwitchLanguage(WindowState& state, HWND window, UiLanguage language) {
  state.language = language;
  SpeakWindowLanguage(language);
  RebuildMainMenu(state, window);  // its marks included
  RetitleSheetPreview(state);
}

void CheckLanguageItem(const WindowState& state, HWND window) {
  const auto items = LanguageMenuItems();
  CheckMenuRadioItem(GetMenu(window), items.front().command, items.back().command,
                     LanguageMenuItemFor(state.language).command, MF_BYCOMMAND);
}

bool RunLanguageCommand(WindowState& state, HWND window, WORD command) {
  const LanguageMenuItem* item = LanguageMenuItemForCommand(command);
  if (item == nullptr) return false;
  if (item->language != state.language) SwitchLanguage(state, window, item->language);
  return true;
}

}  // namespace korvanth
