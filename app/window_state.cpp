// The main window's state and its short names; the current layout, the block's corner, the picture.
#include "app/window_state.h"

#include <new>

#include "convert/same_file.h"

namespace korvanth {

WindowState MainWindowState;

SheetLayout CurrentSheetLayout(const WindowState& state) {
  return {state.format, state.tileSize, state.complete};
}

std::vector<ReadFile> WindowInputs(const WindowState& state) {
  if (state.settingsPath.empty()) return {};
  return {{state.settingsPath, {"ウィンドウの設定ファイル", "the window's settings file"}}};
}

SelectionPoint SelectionOrigin(const WindowState& state) {
  return BlockOriginUnderPointer(state.view.cursor, CurrentSheetLayout(state),
                                 state.picture.canvas());
}

void DestroySourceImage(SourceImageState& picture) {
  if (picture.image == nullptr) return;
  picture.image->~ImageHandle();
  GdipFree(picture.image);
  picture = SourceImageState{};
}

LoadOutcome ReplaceSourceImage(SourceImageState& picture, const char* path) {
  DestroySourceImage(picture);
  void* memory = GdipAlloc(sizeof(ImageHandle));
  if (memory == nullptr) return {LoadProblem::NoMemory, OutOfMemory};
  picture.image = new (memory) ImageHandle();
  const LoadOutcome outcome = LoadPictureNamed(path, *picture.image);
  picture.width = static_cast<std::int32_t>(picture.image->Width());
  picture.height = static_cast<std::int32_t>(picture.image->Height());
  if (outcome.problem == LoadProblem::None) picture.path = AbsoluteName(path);
  return outcome;
}

}  // namespace korvanth
