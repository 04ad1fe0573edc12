#include "app/window_state.h"

#include <new>

#include "convert/same_file.h"

namespace korvanth {

WindowState MainWindowState;

SourceImageState& SourceImage = MainWindowState.picture;
LayoutFormat& CurrentLayoutFormat = MainWindowState.format;
TilesetKinds& SheetTilesets = MainWindowState.tilesets;
bool& ClickArmed = MainWindowState.clickArmed;
COLORREF (&CustomColours)[16] = MainWindowState.customColours;
int& ArgumentCount = MainWindowState.argumentCount;
char**& ArgumentVector = MainWindowState.argumentVector;
int& ViewZoom = MainWindowState.view.zoom;
ScrollAxis& HorizontalScroll = MainWindowState.view.horizontal;
ScrollAxis& VerticalScroll = MainWindowState.view.vertical;
RECT& ViewClientRect = MainWindowState.view.client;
CursorCellState& CursorCell = MainWindowState.view.cursor;
COLORREF (&ViewColours)[2] = MainWindowState.view.colours;

SheetLayout CurrentSheetLayout() {
  return {MainWindowState.format, MainWindowState.tileSize, MainWindowState.complete};
}

std::vector<ReadFile> WindowInputs() {
  if (MainWindowState.settingsPath.empty()) return {};
  return {{MainWindowState.settingsPath, "the window's settings file"}};
}

SelectionPoint SelectionOrigin() {
  return BlockOriginUnderPointer(CursorCell, CurrentSheetLayout(), SourceImage.canvas());
}

void DestroySourceImage() {
  if (SourceImage.image == nullptr) return;
  SourceImage.image->~ImageHandle();
  GdipFree(SourceImage.image);
  SourceImage = SourceImageState{};
}

LoadOutcome ReplaceSourceImage(const char* path) {
  DestroySourceImage();
  void* memory = GdipAlloc(sizeof(ImageHandle));
  if (memory == nullptr) return {LoadProblem::NoMemory, OutOfMemory};
  SourceImage.image = new (memory) ImageHandle();
  const LoadOutcome outcome = LoadPictureNamed(path, *SourceImage.image);
  SourceImage.width = static_cast<std::int32_t>(SourceImage.image->Width());
  SourceImage.height = static_cast<std::int32_t>(SourceImage.image->Height());
  if (outcome.problem == LoadProblem::None) SourceImage.path = AbsoluteName(path);
  return outcome;
}

}  // namespace korvanth
