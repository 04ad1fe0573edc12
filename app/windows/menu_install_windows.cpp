// On Windows: the menu bar built from the menu description, captions converted to UTF-16.
#include <string>
#include <vector>

#include "app/main_menu.h"
#include "app/menu_install.h"

namespace korvanth {

namespace {

// Captions are UTF-8; the menu holds them as UTF-16, whatever the process's code page.
std::wstring Wide(const char* utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text.data(), length);
  text.resize(static_cast<std::size_t>(length) - 1);
  return text;
}

}  // namespace

HMENU CreateMainMenu(HINSTANCE) {
  HMENU bar = CreateMenu();
  if (bar == nullptr) return nullptr;
  // The menu each depth appends to: the bar, then the popup most recently opened.
  std::vector<HMENU> parents{bar};
  for (const MenuLine& line : MainMenuLines()) {
    const auto depth = static_cast<std::size_t>(line.depth);
    if (depth >= parents.size()) continue;  // a line without a popup above it
    parents.resize(depth + 1);
    if (line.flags & MF_POPUP) {
      HMENU popup = CreatePopupMenu();
      AppendMenuW(parents[depth], MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                  Wide(line.caption).c_str());
      parents.push_back(popup);
    } else if (line.flags & MF_SEPARATOR) {
      AppendMenuW(parents[depth], MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(parents[depth], line.flags, line.command, Wide(line.caption).c_str());
    }
  }
  return bar;
}

}  // namespace korvanth
