#include "app/picture_loading.h"

#include "convert/conversion_state.h"
#include "viewer/scroll_state.h"

using namespace korvanth;

void LoadSourceImage(HWND window, const char* path) {
  ReplaceSourceImage(path);
  SetScrollExtent(window, SourceImage.width, SourceImage.height);
  InvalidateRect(window, nullptr, TRUE);
}
