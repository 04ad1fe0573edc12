// The menu bar built item by item from a menu description, captions as UTF-16; its
// replacement and marks.
#include "app/menu_install.h"

#include "app/block_map_mode.h"
#include "app/format_commands.h"
#include "app/status_bar.h"
#include "app/language_commands.h"
#include "app/view_commands.h"
#include "app/window_state.h"
#include "convert/utf8_path.h"

#include <string>
#include <vector>

namespace korvanth {

namespace {

// Captions are UTF-8 (file names in them made printable); menus hold UTF-16, whatever
// the process's code page.
std::vector<WCHAR> Wide(const std::string& utf8) {
  return WidenUtf8(utf8).value_or(std::vector<WCHAR>(1, 0));
}

}  // namespace

HMENU CreateMainMenu(std::span<const MenuLine> lines) {
  HMENU bar = CreateMenu();
  if (bar == nullptr) return nullptr;
  // The menu each depth appends to: the bar, then the popup most recently opened.
  std::vector<HMENU> parents{bar};
  for (const MenuLine& line : lines) {
    const auto depth = static_cast<std::size_t>(line.depth);
    if (depth >= parents.size()) continue;  // a line without a popup above it
    parents.resize(depth + 1);
    if (line.flags & MF_POPUP) {
      HMENU popup = CreatePopupMenu();
      if (popup == nullptr) continue;
      if (!AppendMenuW(parents[depth], MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                       Wide(line.caption).data())) {
        DestroyMenu(popup);
        continue;
      }
      parents.push_back(popup);
    } else if (line.flags & MF_SEPARATOR) {
      AppendMenuW(parents[depth], MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(parents[depth], line.flags, line.command, Wide(line.caption).data());
    }
  }
  return bar;
}

void PutMenuMarks(const WindowState& state, HWND window) {
  CheckFormatMenu(state, window);
  CheckBlockMapItem(state, window);
  CheckZoomItem(state, window);
  CheckLanguageItem(state, window);
  CheckMenuItem(GetMenu(window), IDM_VIEW_PREVIEW,
                MF_BYCOMMAND | (state.preview.shown ? MF_CHECKED : MF_UNCHECKED));
  CheckStatusBarItem(state, window);
}

void RebuildMainMenu(const WindowState& state, HWND window) {
  HMENU fresh = CreateMainMenu(MainMenuLines(state.language, state.recentPictures));
  if (fresh == nullptr) return;  // the old menu stays
  HMENU old = GetMenu(window);
  if (!SetMenu(window, fresh)) {
    DestroyMenu(fresh);
    return;
  }
  if (old != nullptr) DestroyMenu(old);
  PutMenuMarks(state, window);
  DrawMenuBar(window);
}

}  // namespace korvanth
