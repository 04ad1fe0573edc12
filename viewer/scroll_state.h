// The view's scroll state, kept in the window's two standard scroll bars. The picture's
// size sets the range, the client area's size the page; requests move a requested
// position that the platform clamps into the effective offset.
#pragma once

#include <cstdint>

#include "platform/win32_api.h"

namespace korvanth {

struct ScrollAxis {
  // Handed to the platform whole, with range, page and position. nPos is the requested
  // position: the platform's clamped answer is never written back into it.
  SCROLLINFO info;
  // The effective offset: the picture pixel at the client area's left or top edge.
  std::int32_t offset;
  // The offset for which the window contents were last shifted.
  std::int32_t shiftedOffset;
};

extern ScrollAxis HorizontalScroll;
extern ScrollAxis VerticalScroll;
// (0, 0, width, height) of the client area, from the last resize.
extern RECT ViewClientRect;

void InitScrollBars(HWND window);
void SetScrollExtent(HWND window, int width, int height);
void ResizeView(HWND window, int width, int height);
// For a change of zoom: both ranges (extents in screen pixels) and both requested
// positions at once; the requested positions then take the clamped offsets, so the
// bars, the view and later scroll requests agree. The bars are redrawn and the contents
// are not shifted, since the whole view is repainted.
void SetScrollView(HWND window, int extentX, int extentY, std::int64_t positionX,
                   std::int64_t positionY);
void ScrollHorz(HWND window, WPARAM request);
void ScrollVert(HWND window, WPARAM request);

}  // namespace korvanth
