// The sheet preview: a tool window owned by the main window that shows the sheet a click
// would save, rebuilt only when the block's corner, the format or the picture changes.
#pragma once

#include <optional>

#include "convert/layout_format.h"
#include "app/ui_text.h"
#include "imaging/handles.h"
#include "platform/win32_api.h"
#include "viewer/preview_render.h"

namespace korvanth {

struct WindowState;

// What the shown sheet was built from.
struct PreviewKey {
  SheetLayout layout;
  SelectionPoint origin;
  friend bool operator==(const PreviewKey& a, const PreviewKey& b) {
    return a.layout == b.layout && a.origin.x == b.origin.x && a.origin.y == b.origin.y;
  }
};

struct SheetPreviewState {
  HWND window = nullptr;  // null before it was first shown and after the main window closed
  HWND owner = nullptr;
  bool shown = false;
  bool built = false;  // false: the next refresh rebuilds
  PreviewKey key;
  PreviewFrame frame{};         // the scale and client size the window was made for
  std::optional<POINT> placed;  // where the next new window goes; none: beside the owner
  ImageHandle composed;
  int builds = 0;  // how many times the sheet was built (for the window's tests)
};

inline constexpr char kPreviewWindowClass[] = "KorvanthPreviewClass";
inline constexpr UiText kPreviewWindowTitle = {"シートのプレビュー", "Sheet Preview"};

// Shows (creating it the first time) or hides the preview, and moves the menu's check
// mark. The main window keeps the keyboard focus. A new window goes where `placed` says
// (screen pixels), else beside the main window.
void ShowSheetPreview(WindowState& state, HWND owner, bool show);

// Brings the preview up to date with the picture, the format and the block under the
// pointer's cell; rebuilds and repaints only when one of them changed.
void RefreshSheetPreview(WindowState& state);
// The picture was replaced: the next refresh rebuilds whatever else holds.
void SheetPreviewPictureChanged(WindowState& state);

// The preview's title follows the window's language.
void RetitleSheetPreview(const WindowState& state);

// Destroys the preview window and its images; called before the main window goes.
void DestroySheetPreview(SheetPreviewState& preview);

}  // namespace korvanth
