// The sheet preview: a tool window owned by the main window that shows the sheet a click
// would save, rebuilt only when the block's corner, the format or the picture changes.
#pragma once

#include "platform/win32_api.h"

namespace korvanth {

inline constexpr char kPreviewWindowClass[] = "KorvanthPreviewClass";
inline constexpr char kPreviewWindowTitle[] = "シートのプレビュー";

// Shows (creating it the first time) or hides the preview, and moves the menu's check
// mark. The main window keeps the keyboard focus.
void ShowSheetPreview(HWND owner, bool show);
bool SheetPreviewShown();
// Where the preview's outer top-left corner goes (screen pixels) when it is next made,
// instead of beside the main window.
void PlaceSheetPreview(POINT corner);
// The preview window, or null before it was first shown and after the main window closed.
HWND SheetPreviewWindow();

// Brings the preview up to date with the picture, the format and the block under the
// pointer's cell; rebuilds and repaints only when one of them changed.
void RefreshSheetPreview();
// The picture was replaced: the next refresh rebuilds whatever else holds.
void SheetPreviewPictureChanged();
// How many times the preview's sheet was built (for the window's tests).
int SheetPreviewBuilds();

// Destroys the preview window and its images; called before the main window goes.
void DestroySheetPreview();

}  // namespace korvanth
