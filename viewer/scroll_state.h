// The view's scroll state, kept in the window's two standard scroll bars. The picture's
// size sets the range, the client area's size the page; requests move a requested
// position that the platform clamps into the effective offset.
#pragma once

#include <cstdint>

#include "platform/win32_api.h"
#include "viewer/view_state.h"

namespace korvanth {

void InitScrollBars(HWND window, ViewState& view);
void SetScrollExtent(HWND window, ViewState& view, int width, int height);
// The window's client area became width x height: pages and the view's area follow, less
// the rows view.reservedBottom keeps.
void ResizeView(HWND window, ViewState& view, int width, int height);
// For a change of zoom: both ranges (extents in screen pixels) and both requested
// positions at once; the requested positions then take the clamped offsets, so the
// bars, the view and later scroll requests agree. The bars are redrawn and the contents
// are not shifted, since the whole view is repainted.
void SetScrollView(HWND window, ViewState& view, int extentX, int extentY, std::int64_t positionX,
                   std::int64_t positionY);
void ScrollHorz(HWND window, ViewState& view, WPARAM request);
void ScrollVert(HWND window, ViewState& view, WPARAM request);

}  // namespace korvanth
