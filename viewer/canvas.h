// Drawing the client area: the picture at the scroll offsets, the contrast grid worked
// into its pixels and the translucent selection block that follows the mouse.
#pragma once

#include <cstdint>
#include <span>

#include "convert/picture_file.h"
#include "convert/layout_format.h"
#include "imaging/handles.h"
#include "imaging/ui_language.h"
#include "platform/win32_api.h"
#include "viewer/block_outlines.h"
#include "viewer/view_state.h"

namespace korvanth {

// The picture as the view shows it: none (null), or a handle and its size.
struct CanvasPicture {
  ImageHandle* image = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// What one paint shows: the picture, the layout whose block follows the pointer, the
// block's top-left corner in picture pixels and the mapped blocks' outlines (under the
// block); and the language of a failed paint's box.
struct CanvasScene {
  CanvasPicture picture;
  SheetLayout layout;
  SelectionPoint origin;
  std::span<const BlockOutline> outlines = {};
  UiLanguage language = UiLanguage::Japanese;
};

struct GridArea {
  INT x, y, width, height;
};
struct GridCell {
  INT width, height;
};
struct GridOffset {
  INT x, y;
};

inline constexpr UiText kLockFailedMessage = {"Bmpをロックできません", "Cannot lock the bitmap"};
inline constexpr UiText kUnlockFailedMessage = {"Bmpをアンロックできません",
                                                "Cannot unlock the bitmap"};

// Mouse position in client pixels: records the cell under it and asks for a repaint when
// that cell is another. A block the keys moved stays put while the pointer moves within
// the cell it was in.
void TrackCursor(HWND window, ViewState& view, WORD x, WORD y);

// The grid's cell becomes `cell` picture pixels (a tile size). The pointer's cell becomes
// the one that holds the old cell's top-left picture pixel, so the block stays put until
// the pointer moves.
void ResizeViewCell(ViewState& view, int cell);

// The block's top-left corner in picture pixels for the cell under the pointer: the cell
// placed by the shared rule, pulled back inside the picture.
SelectionPoint BlockOriginUnderPointer(CursorCellState cursor, SheetLayout layout,
                                       const CanvasPicture& picture);

// Composes the whole client area off screen and copies it to the window in one draw;
// nothing but the window's pixels changes.
void PaintView(HDC dc, const ViewState& view, const CanvasScene& scene);

// Grid lines worked into a bitmap in place: each line pixel becomes white or black,
// whichever contrasts with what lies beneath. Lines stay fixed to the picture as the
// view scrolls by `scroll` (screen pixels). Returns 0 or the failing GDI+ status, which a
// box in `language` reports.
GpStatus DrawContrastGrid(ImageHandle* bitmap, GridArea area, int percent, GridCell cell,
                          GridOffset offset, GridOffset scroll = {0, 0},
                          UiLanguage language = UiLanguage::Japanese);

}  // namespace korvanth
