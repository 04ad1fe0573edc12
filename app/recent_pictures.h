// The ファイル menu's 最近使ったファイル: the pictures opened last, newest first, remembered
// with the window's other choices; choosing one opens it as the Open dialog would.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "app/main_menu.h"
#include "app/ui_text.h"
#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

// The list after `opened` was opened: it goes first, any earlier place of it goes, and
// only the kMaxRecentPictures newest stay.
std::vector<std::string> WithRecentPicture(std::span<const std::string> recent,
                                           const std::string& opened);

// The submenu's lines at `depth`: its popup, then one item per picture ("&1 PATH", ...),
// or a grayed "(なし)" while the list is empty.
std::vector<MenuLine> RecentPictureMenuLines(int depth, UiLanguage language,
                                             std::span<const std::string> recent);

// A picture was opened: it goes to the front of the list, and the menu is rebuilt when the
// list changed.
void NoteRecentPicture(WindowState& state, HWND window);

// Opens the picture of a recent item (a missing one gives the Open's box and stays in the
// list); false for any other command.
bool RunRecentPictureCommand(WindowState& state, HWND window, WORD command);

}  // namespace korvanth
