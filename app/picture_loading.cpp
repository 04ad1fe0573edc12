#include "app/picture_loading.h"

#include "app/sheet_preview.h"
#include "app/window_title.h"
#include "convert/conversion_state.h"
#include "viewer/scroll_state.h"

namespace korvanth {

void LoadSourceImage(HWND window, const char* path) {
  const LoadOutcome outcome = ReplaceSourceImage(path);
  SetScrollExtent(window, SourceImage.width, SourceImage.height);
  InvalidateRect(window, nullptr, TRUE);
  const bool loaded = outcome.problem == LoadProblem::None && SourceImage.width > 0;
  SetWindowTextA(window, WindowTitle(loaded ? path : nullptr).c_str());
  SheetPreviewPictureChanged();
}

}  // namespace korvanth
