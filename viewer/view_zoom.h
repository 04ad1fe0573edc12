// The view's zoom: whole-number magnification of the picture, 1x to 8x, nearest
// neighbour. Scroll offsets, the client area and the mouse are in screen pixels; the
// picture, the cell under the pointer and the block's origin stay in picture pixels.
#pragma once

#include <cstdint>

#include "platform/win32_api.h"
#include "viewer/canvas.h"
#include "viewer/view_state.h"

namespace korvanth {

// A zoom brought into [kMinZoom, kMaxZoom].
int ClampZoom(int zoom);

// A picture extent in screen pixels at this zoom, held to what a scroll range can hold.
int ZoomedExtent(std::int32_t extent, int zoom);

// Changes the zoom so that the picture pixel under `anchor` (client pixels) stays under
// it as far as the scroll range allows; the bars take the new range and the whole client
// area is repainted. Does nothing when the zoom stays as it is.
void SetViewZoom(HWND window, ViewState& view, int zoom, POINT anchor,
                 const CanvasPicture& picture);

// The middle of the client area, the anchor of zoom commands from the keyboard and menu.
POINT ClientCentre(const ViewState& view);

}  // namespace korvanth
