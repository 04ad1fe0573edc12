// The main window's state and its short names; the current layout, the block's corner, the picture.
#include "app/window_state.h"

#include <new>

#include "app/block_map_click.h"
#include "convert/same_file.h"

namespace korvanth {

WindowState MainWindowState;

SheetLayout CurrentSheetLayout(const WindowState& state) {
  return {state.format, state.tileSize, state.complete};
}

std::vector<ReadFile> WindowInputs(const WindowState& state) {
  std::vector<ReadFile> inputs;
  if (!state.settingsPath.empty())
    inputs.push_back({state.settingsPath, {"ウィンドウの設定ファイル", "the window's settings file"}});
  if (!state.picture.path.empty())
    inputs.push_back({BlockMapPathFor(state.picture.path), {"ブロックマップ", "the block map"}});
  return inputs;
}

SelectionPoint SelectionOrigin(const WindowState& state) {
  if (state.blockMap.editing) {
    const auto cell = NewBlockCell({state.view.cursor.column, state.view.cursor.row}, state.format,
                                   state.tileSize, {state.picture.width, state.picture.height});
    // A cell inside the picture: its pixel fits 32 bits.
    if (cell)
      return {static_cast<std::int32_t>(cell->column * state.tileSize),
              static_cast<std::int32_t>(cell->row * state.tileSize)};
  }
  return BlockOriginUnderPointer(state.view.cursor, CurrentSheetLayout(state),
                                 state.picture.canvas());
}

void DestroySourceImage(SourceImageState& picture) {
  if (picture.image == nullptr) return;
  picture.image->~ImageHandle();
  GdipFree(picture.image);
  picture = SourceImageState{};
}

namespace {

// A new heap-held picture from the file at `path`; on failure nothing is held.
LoadOutcome LoadNewPicture(SourceImageState& loaded, const char* path) {
  void* memory = GdipAlloc(sizeof(ImageHandle));
  if (memory == nullptr) return {LoadProblem::NoMemory, OutOfMemory};
  loaded.image = new (memory) ImageHandle();
  const LoadOutcome outcome = LoadPictureNamed(path, *loaded.image);
  if (outcome.problem != LoadProblem::None) {
    DestroySourceImage(loaded);
    return outcome;
  }
  loaded.width = static_cast<std::int32_t>(loaded.image->Width());
  loaded.height = static_cast<std::int32_t>(loaded.image->Height());
  loaded.path = AbsoluteName(path);
  return outcome;
}

}  // namespace

LoadOutcome ReplaceSourceImage(SourceImageState& picture, const char* path) {
  SourceImageState loaded;
  LoadOutcome outcome = LoadNewPicture(loaded, path);
  // Two large pictures may not fit at once (a 32-bit program's address space): the old
  // one makes room, and the load is tried once more.
  if (outcome.problem == LoadProblem::NoMemory && picture.exists()) {
    DestroySourceImage(picture);
    outcome = LoadNewPicture(loaded, path);
  }
  if (outcome.problem != LoadProblem::None) return outcome;
  DestroySourceImage(picture);
  picture = loaded;  // the handle changes hands
  return outcome;
}

}  // namespace korvanth
