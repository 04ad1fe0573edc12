// The recent pictures: the list's one rule, its submenu and its commands.
#include "app/recent_pictures.h"

#include <algorithm>

#include "app/menu_install.h"
#include "app/picture_loading.h"
#include "app/settings_text.h"
#include "app/window_state.h"
#include "convert/utf8_path.h"

namespace korvanth {

static_assert(IDM_FILE_RECENT_LAST - IDM_FILE_RECENT_FIRST + 1 == kMaxRecentPictures);

namespace {

// A '&' in a file name is text, not a mnemonic.
std::string MenuText(std::string_view name) {
  std::string text;
  for (const char c : PrintableName(name)) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

}  // namespace

std::vector<std::string> WithRecentPicture(std::span<const std::string> recent,
                                           const std::string& opened) {
  std::vector<std::string> list{opened};
  for (const std::string& name : recent)
    if (name != opened && list.size() < kMaxRecentPictures) list.push_back(name);
  return list;
}

std::vector<MenuLine> RecentPictureMenuLines(int depth, UiLanguage language,
                                             std::span<const std::string> recent) {
  std::vector<MenuLine> lines{
      {depth, MF_POPUP, 0, InLanguage(UiText{"最近使ったファイル(&R)", "Recent &Files"}, language)}};
  if (recent.empty())
    lines.push_back(
        {depth + 1, MF_STRING | MF_GRAYED, 0, InLanguage(UiText{"(なし)", "(None)"}, language)});
  for (std::size_t i = 0; i < recent.size() && i < kMaxRecentPictures; ++i)
    lines.push_back({depth + 1, MF_STRING, static_cast<UINT>(IDM_FILE_RECENT_FIRST + i),
                     "&" + std::to_string(i + 1) + " " + MenuText(recent[i])});
  return lines;
}

void NoteRecentPicture(WindowState& state, HWND window) {
  std::vector<std::string> list = WithRecentPicture(state.recentPictures, state.picture.path);
  if (list == state.recentPictures) return;
  state.recentPictures = std::move(list);
  RebuildMainMenu(state, window);
}

bool RunRecentPictureCommand(WindowState& state, HWND window, WORD command) {
  if (command < IDM_FILE_RECENT_FIRST || command > IDM_FILE_RECENT_LAST) return false;
  const std::size_t index = command - IDM_FILE_RECENT_FIRST;
  if (index >= state.recentPictures.size()) return true;
  // A copy: opening it reorders the list.
  const std::string path = state.recentPictures[index];
  state.clickArmed = false;
  LoadSourceImage(state, window, path.c_str());
  return true;
}

}  // namespace korvanth
