// The view's zoom: whole-number magnification of the picture, 1x to 8x, nearest
// neighbour. Scroll offsets, the client area and the mouse are in screen pixels; the
// picture, CursorCell and the block's origin stay in picture pixels.
#pragma once

#include <cstdint>

#include "platform/win32_api.h"
#include "viewer/canvas.h"

namespace korvanth {

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 8;

// Screen pixels per picture pixel. 1 at start.
extern int ViewZoom;

// A zoom brought into [kMinZoom, kMaxZoom].
int ClampZoom(int zoom);

// A picture extent in screen pixels at this zoom, held to what a scroll range can hold.
int ZoomedExtent(std::int32_t extent, int zoom);

// Changes the zoom so that the picture pixel under `anchor` (client pixels) stays under
// it as far as the scroll range allows; the bars take the new range and the whole client
// area is repainted. Does nothing when the zoom stays as it is.
void SetViewZoom(HWND window, int zoom, POINT anchor, const CanvasPicture& picture);

// The middle of the client area, the anchor of zoom commands from the keyboard and menu.
POINT ClientCentre();

}  // namespace korvanth
