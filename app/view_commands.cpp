// The view menu and keys: zoom steps and marks, Ctrl+wheel and Ctrl++/-/0, the preview toggle.
#include "app/view_commands.h"

#include "app/menu_resource.h"
#include "app/sheet_preview.h"
#include "app/status_bar.h"
#include "app/window_state.h"
#include "viewer/canvas.h"
#include "viewer/scroll_reveal.h"
#include "viewer/scroll_state.h"
#include "viewer/view_zoom.h"

namespace korvanth {

namespace {

// One notch of a wheel; finer wheels report parts of it, which add up.
constexpr int kWheelNotch = 120;

bool ControlHeld() { return GetKeyState(VK_CONTROL) < 0; }

// A zoom from the keyboard or the menu: around the middle of the view, which may lie far
// from the block, so the view then scrolls as little as keeps the whole block in sight.
void ZoomKeepingTheBlock(WindowState& state, HWND window, int zoom) {
  ZoomAround(state, window, zoom, ClientCentre(state.view));
  if (state.picture.exists())
    RevealPictureArea(window, state.view, SelectionOrigin(state),
                      SelectionBlockSize(CurrentSheetLayout(state)), LongSpan::LeastScroll);
}

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
      ZoomKeepingTheBlock(state, window, state.view.zoom + 1);
      return true;
    case VK_OEM_MINUS:
    case VK_SUBTRACT:
      ZoomKeepingTheBlock(state, window, state.view.zoom - 1);
      return true;
    case '0':
    case VK_NUMPAD0:
      ZoomKeepingTheBlock(state, window, kMinZoom);
      return true;
    default:
      return false;
  }
}

bool RunViewCommand(WindowState& state, HWND window, WORD command) {
  if (command >= IDM_VIEW_ZOOM1 && command <= IDM_VIEW_ZOOM8) {
    ZoomKeepingTheBlock(state, window, command - IDM_VIEW_ZOOM1 + 1);
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
