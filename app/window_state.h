// Everything the main window keeps between messages: the picture, the view, the 形式 menu's
// choices, the dialogs' memory, the run's start, the sheet preview, the wheel's partial turn
// and GDI+'s token, in one object. The entry, the main window's creation and the window
// procedures reach that object (MainWindowState); every other function is handed it, or
// the part it needs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/block_map_mode.h"
#include "app/dialog_start.h"
#include "app/picture_watch.h"
#include "app/settings_text.h"
#include "app/sheet_preview.h"
#include "app/status_bar.h"
#include "app/ui_text.h"
#include "convert/layout_format.h"
#include "convert/picture_file.h"
#include "convert/same_file.h"
#include "convert/sheet_tilesets.h"
#include "imaging/handles.h"
#include "platform/win32_api.h"
#include "viewer/canvas.h"
#include "viewer/view_state.h"

namespace korvanth {

struct SourceImageState {
  // None (null) or a heap-held handle taken with GdipAlloc, holding a loaded picture.
  ImageHandle* image = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  // The file the picture came from, absolute (UTF-8); empty when there is none.
  std::string path;

  bool exists() const { return image != nullptr; }
  CanvasPicture canvas() const { return {image, width, height}; }
};

struct WindowState {
  SourceImageState picture;
  ViewState view;  // zoom, scroll bars, client area, the cell under the pointer, colours
  LayoutFormat format = LayoutFormat::Terrain1;
  UiLanguage language = UiLanguage::Japanese;  // of every caption, dialog and message box
  int tileSize = kTileSize;                    // the grid's cell and the block's scale
  bool complete = false;                // whether sheets get the terrain shapes their format lacks
  TilesetKinds tilesets = kNoTilesets;  // the map editors' tilesets every saved sheet gets
  BlockMapModeState blockMap;           // the picture's block map and whether clicks edit it
  bool clickArmed = false;              // whether the next left-button release acts
  COLORREF customColours[16] = {};      // the colour dialog's, shared by both colour commands
  DialogMemory dialogs;                 // where the Open and Save dialogs start, what they propose
  // Argument 1 of the run (after --reset-settings), when there is one.
  std::optional<std::string> argumentPicture;
  bool startPictureOpened = false;  // the first showing has opened the start picture
  // The settings file this run reads and writes; empty (the tests' windows): none.
  std::string settingsPath;
  // False when the file is there but could not be read: closing then leaves it as it is.
  bool settingsWritable = false;
  RememberedSettings remembered;  // as read at the start (the defaults when nothing was)
  std::string bundledSample;      // opened at the first showing when no argument names a picture
  SheetPreviewState preview;
  StatusBarState status;
  PictureWatch watch;                       // the open picture's file, read again when it changes
  // Set while a save holds the picture across a box: the watch waits, for a reload would
  // free the picture from under it.
  int pictureHeld = 0;
  std::vector<std::string> recentPictures;  // the ファイル menu's, newest first
  int wheelRemainder = 0;                   // a wheel's turn short of a notch, added to the next
  ULONG_PTR gdiplusToken = 0;               // from the window's creation to its close
};

// The one window state of the program.
extern WindowState MainWindowState;

// The format as the next save draws it: its tile size and the complete setting.
SheetLayout CurrentSheetLayout(const WindowState& state);

// The files the window reads besides the picture (its settings, the picture's block map):
// no save writes over them.
std::vector<ReadFile> WindowInputs(const WindowState& state);

// The block's top-left corner in picture pixels for the cell under the pointer (on whole
// cells inside the picture in the block-map mode, where the block goes on the map).
SelectionPoint SelectionOrigin(const WindowState& state);

// Disposes of the loaded picture and frees its handle; the picture becomes none.
void DestroySourceImage(SourceImageState& picture);

// Replaces the loaded picture by the one in the file at `path`. A failed load leaves the
// picture that was there (none stays none); only when memory runs short with both held is
// the old one given up first. A loaded picture keeps its file's absolute name.
LoadOutcome ReplaceSourceImage(SourceImageState& picture, const char* path);

}  // namespace korvanth
