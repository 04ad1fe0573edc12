// The view menu and keys: zoom steps and marks, Ctrl+wheel and Ctrl++/-/0, the preview toggle.
#include "app/view_commands.h"

#include "app/menu_resource.h"
#include "app/sheet_preview.h"
#include "app/status_bar.h"
#include "app/window_state.h"
#include "viewer/canvas.h"
#include "viewer/scroll_state.h"
#include "viewer/view_zoom.h"

namespace korvanth {

namespace {

// One notch of a wheel; finer wheels report parts of it, which add up.
constexpr int kWheelNotch = 120;

bool ControlHeld() { return GetKeyState(VK_CONTROL) < 0; }

}  // namespace

void CheckZoomItem(const WindowState& state, HWND window) {
  CheckMenuRadioItem(GetMenu(window), IDM_VIEW_ZOOM1, IDM_VIEW_ZOOM8,
                     IDM_VIEW_ZOOM1 + static_cast<UINT>(state.view.zoom - 1), MF_BYCOMMAND);
}

void ZoomAround(WindowState& state, HWND window, int zoom, POINT anchor) {
  SetViewZoom(window, state.view, zoom, anchor, state.picture.canvas());
  CheckZoomItem(state, window);
}

bool ZoomByWheel(WindowState& state, HWND window, WPARAM wParam, LPARAM lParam) {
  if (!(LOWORD(wParam) & MK_CONTROL)) return false;
  // The pointer comes in screen coordinates, as signed 16-bit values.
  POINT anchor{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ScreenToClient(window, &anchor);
  state.wheelRemainder += static_cast<short>(HIWORD(wParam));
  const int steps = state.wheelRemainder / kWheelNotch;
  state.wheelRemainder -= steps * kWheelNotch;
  if (steps != 0) {
    ZoomAround(state, window, ClampZoom(state.view.zoom + steps), anchor);
    // Where the scroll range kept the view from holding the pixel under the pointer, the
    // pointer now lies over another cell: the block goes there, as a move would take it.
    if (anchor.x >= 0 && anchor.y >= 0 && anchor.x < state.view.client.right &&
        anchor.y < state.view.client.bottom)
      TrackCursor(window, state.view, static_cast<WORD>(anchor.x), static_cast<WORD>(anchor.y));
  }
  return true;
}

bool ZoomByKey(WindowState& state, HWND window, WPARAM key) {
  if (!ControlHeld()) return false;
  switch (key) {
    case VK_OEM_PLUS:
    case VK_ADD:
      ZoomAround(state, window, state.view.zoom + 1, ClientCentre(state.view));
      return true;
    case VK_OEM_MINUS:
    case VK_SUBTRACT:
      ZoomAround(state, window, state.view.zoom - 1, ClientCentre(state.view));
      return true;
    case '0':
    case VK_NUMPAD0:
      ZoomAround(state, window, kMinZoom, ClientCentre(state.view));
      return true;
    default:
      return false;
  }
}

bool RunViewCommand(WindowState& state, HWND window, WORD command) {
  if (command >= IDM_VIEW_ZOOM1 && command <= IDM_VIEW_ZOOM8) {
    ZoomAround(state, window, command - IDM_VIEW_ZOOM1 + 1, ClientCentre(state.view));
    return true;
  }
  if (command == IDM_VIEW_PREVIEW) {
    ShowSheetPreview(state, window, !state.preview.shown);
    return true;
  }
  if (command == IDM_VIEW_STATUS_BAR) {
    ShowStatusBar(state, window, !state.status.shown);
    return true;
  }
  return false;
}

}  // namespace korvanth
