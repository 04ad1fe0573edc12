// What the view keeps between messages: the zoom, both scroll bars, the client area, the
// cell under the pointer and the two display colours. The window owns one and hands it to
// the viewer's functions.
#pragma once

#include <cstdint>

#include "convert/layout_format.h"
#include "platform/win32_api.h"

namespace korvanth {

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 8;

inline constexpr int kFrameColour = 0;
inline constexpr int kBackgroundColour = 1;

struct ScrollAxis {
  // Handed to the platform whole, with range, page and position. nPos is the requested
  // position: the platform's clamped answer is never written back into it.
  SCROLLINFO info;
  // The effective offset: the picture pixel at the client area's left or top edge.
  std::int32_t offset;
  // The offset for which the window contents were last shifted.
  std::int32_t shiftedOffset;
};

// The grid cell of the picture (not of the window) under the mouse.
struct CursorCellState {
  std::int32_t column = 0;
  std::int32_t row = 0;
};

struct ViewState {
  int zoom = kMinZoom;  // screen pixels per picture pixel
  ScrollAxis horizontal{};
  ScrollAxis vertical{};
  // (0, 0, width, height) of the client area the view shows, from the last resize: the
  // window's client area less the rows reserved below.
  RECT client{0, 0, 0, 0};
  // Rows at the bottom of the window's client area that a child window (the status bar)
  // covers: the view's pages and painting leave them out.
  int reservedBottom = 0;
  CursorCellState cursor;
  // The pointer's last position over the client area, once it has moved there.
  bool pointerSeen = false;
  POINT pointer{0, 0};
  // Set when the keys moved the block: it stays where they put it until the pointer
  // enters another cell.
  bool heldByKeys = false;
  int cell = kTileSize;  // picture pixels per grid cell: the tile size
  // COLORREF values, 0x00BBGGRR: the frame colour and the background.
  COLORREF colours[2] = {0x000000FF, 0x00808080};
  // Bumped by every resize, so that a resize interrupted by a nested one (a scroll bar
  // that appears or disappears changes the client area from inside SetScrollInfo) does
  // not overwrite the newer state with its stale size.
  unsigned resizeGeneration = 0;
};

}  // namespace korvanth
