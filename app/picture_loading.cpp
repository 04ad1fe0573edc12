// Opening a picture in the window: scroll ranges, title, repaint, or a box naming the failure.
#include "app/picture_loading.h"

#include <string>

#include "app/block_map_mode.h"
#include "app/picture_reload.h"
#include "app/recent_pictures.h"
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
  // Taken before the read: a change made while it reads is still seen as one.
  const FileStamp stamp = FileStampOf(path != nullptr ? path : "");
  const LoadOutcome outcome = ReplaceSourceImage(state.picture, path);
  const bool loaded = outcome.problem == LoadProblem::None;
  // A failed load leaves the view as it was, unless the picture had to make room.
  if (loaded || !state.picture.exists()) {
    SetScrollExtent(window, state.view, state.picture.width, state.picture.height);
    InvalidateRect(window, nullptr, TRUE);
    SetWindowTextA(window, WindowTitle(loaded ? path : nullptr).c_str());
    if (loaded) {
      state.dialogs.pictureFolder = FolderOf(state.picture.path);
      WatchOpenedPicture(state, stamp);
      NoteRecentPicture(state, window);
    }
    SheetPreviewPictureChanged(state);
  }
  if (!loaded) ShowLoadFailure(window, path, outcome.problem, state.language);
  // The block map goes with the picture shown: read afresh for a new one, kept otherwise.
  if (loaded || !state.picture.exists()) ReadPictureBlockMap(state, window);
}

}  // namespace korvanth
