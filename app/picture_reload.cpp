// Reading the open picture again when its file changed, the last good picture kept when
// the new file does not read.
#include "app/picture_reload.h"

#include "app/picture_watch.h"
#include "app/sheet_preview.h"
#include "app/status_bar.h"
#include "app/status_text.h"
#include "app/window_state.h"
#include "viewer/scroll_state.h"

namespace korvanth {

namespace {

void ReloadPicture(WindowState& state, HWND window) {
  // Read beside the shown picture, which goes only once the new one has arrived whole.
  SourceImageState fresh;
  const LoadOutcome outcome = ReplaceSourceImage(fresh, state.picture.path.c_str());
  if (outcome.problem != LoadProblem::None || fresh.width <= 0 || fresh.height <= 0) {
    DestroySourceImage(fresh);
    ShowStatusMessage(state,
                      ReloadFailedStatusText(state.picture.path, outcome.problem, state.language));
    return;
  }
  DestroySourceImage(state.picture);
  state.picture = fresh;
  // The zoom, the scroll positions (as far as the new size holds them) and the pointer's
  // cell, and so the block, stay.
  SetScrollExtent(window, state.view, state.picture.width, state.picture.height);
  InvalidateRect(window, nullptr, FALSE);
  SheetPreviewPictureChanged(state);
  ShowStatusMessage(state, ReloadedStatusText(state.picture.path, state.language));
}

}  // namespace

void StartPictureWatch(HWND window) {
  SetTimer(window, kPictureWatchTimer, kPictureWatchInterval, nullptr);
}

void WatchOpenedPicture(WindowState& state, const FileStamp& before) {
  state.watch = PictureWatch{before, std::nullopt};
}

void LookAtOpenPicture(WindowState& state, HWND window) {
  if (!state.picture.exists() || state.picture.path.empty() || state.pictureHeld > 0) return;
  if (LookAtPicture(state.watch, FileStampOf(state.picture.path)) == WatchStep::Reload)
    ReloadPicture(state, window);
}

}  // namespace korvanth
