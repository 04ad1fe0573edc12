// Opening a picture in the window: scroll ranges, title, repaint, or a box naming the failure.
#include "app/picture_loading.h"

#include <string>

#include "app/sheet_preview.h"
#include "app/window_messages.h"
#include "app/window_title.h"
#include "app/window_state.h"
#include "convert/utf8_path.h"
#include "viewer/scroll_state.h"

namespace korvanth {

namespace {

// A failed open must not look like an empty picture: the file and the cause (in English
// the converter's words), over the window.
void ShowLoadFailure(HWND owner, const char* path, LoadProblem problem, UiLanguage language) {
  const std::string text = std::string(InLanguage(kOpenFailedHeadline, language)) + "\n" +
                           PrintableName(path ? path : "") + "\n(" +
                           InLanguage(LoadProblemCause(problem), language) + ")";
  MessageBoxA(owner, text.c_str(), "", MB_OK | MB_ICONERROR);
}

}  // namespace

void LoadSourceImage(WindowState& state, HWND window, const char* path) {
  const LoadOutcome outcome = ReplaceSourceImage(state.picture, path);
  SetScrollExtent(window, state.view, state.picture.width, state.picture.height);
  InvalidateRect(window, nullptr, TRUE);
  const bool loaded = outcome.problem == LoadProblem::None && state.picture.width > 0;
  SetWindowTextA(window, WindowTitle(loaded ? path : nullptr).c_str());
  if (loaded) state.dialogs.pictureFolder = FolderOf(state.picture.path);
  SheetPreviewPictureChanged(state);
  if (outcome.problem != LoadProblem::None)
    ShowLoadFailure(window, path, outcome.problem, state.language);
}

}  // namespace korvanth
