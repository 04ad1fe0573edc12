#include "app/view_commands.h"

#include "app/menu_resource.h"
#include "app/sheet_preview.h"
#include "app/window_state.h"
#include "viewer/canvas.h"
#include "viewer/scroll_state.h"
#include "viewer/view_zoom.h"

namespace korvanth {

namespace {

// One notch of a wheel; finer wheels report parts of it, which add up.
constexpr int kWheelNotch = 120;
int gWheelRemainder = 0;

bool ControlHeld() { return GetKeyState(VK_CONTROL) < 0; }

}  // namespace

void CheckZoomItem(HWND window) {
  CheckMenuRadioItem(GetMenu(window), IDM_VIEW_ZOOM1, IDM_VIEW_ZOOM8,
                     IDM_VIEW_ZOOM1 + static_cast<UINT>(ViewZoom - 1), MF_BYCOMMAND);
}

void ZoomAround(HWND window, int zoom, POINT anchor) {
  SetViewZoom(window, MainWindowState.view, zoom, anchor, SourceImage.canvas());
  CheckZoomItem(window);
}

bool ZoomByWheel(HWND window, WPARAM wParam, LPARAM lParam) {
  if (!(LOWORD(wParam) & MK_CONTROL)) return false;
  // The pointer comes in screen coordinates, as signed 16-bit values.
  POINT anchor{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ScreenToClient(window, &anchor);
  gWheelRemainder += static_cast<short>(HIWORD(wParam));
  const int steps = gWheelRemainder / kWheelNotch;
  gWheelRemainder -= steps * kWheelNotch;
  if (steps != 0) {
    ZoomAround(window, ClampZoom(ViewZoom + steps), anchor);
    // Where the scroll range kept the view from holding the pixel under the pointer, the
    // pointer now lies over another cell: the block goes there, as a move would take it.
    if (anchor.x >= 0 && anchor.y >= 0 && anchor.x < ViewClientRect.right &&
        anchor.y < ViewClientRect.bottom)
      TrackCursor(window, MainWindowState.view, static_cast<WORD>(anchor.x),
                  static_cast<WORD>(anchor.y));
  }
  return true;
}

bool ZoomByKey(HWND window, WPARAM key) {
  if (!ControlHeld()) return false;
  switch (key) {
    case VK_OEM_PLUS:
    case VK_ADD:
      ZoomAround(window, ViewZoom + 1, ClientCentre(MainWindowState.view));
      return true;
    case VK_OEM_MINUS:
    case VK_SUBTRACT:
      ZoomAround(window, ViewZoom - 1, ClientCentre(MainWindowState.view));
      return true;
    case '0':
    case VK_NUMPAD0:
      ZoomAround(window, kMinZoom, ClientCentre(MainWindowState.view));
      return true;
    default:
      return false;
  }
}

bool RunViewCommand(HWND window, WORD command) {
  if (command >= IDM_VIEW_ZOOM1 && command <= IDM_VIEW_ZOOM8) {
    ZoomAround(window, command - IDM_VIEW_ZOOM1 + 1, ClientCentre(MainWindowState.view));
    return true;
  }
  if (command == IDM_VIEW_PREVIEW) {
    ShowSheetPreview(window, !SheetPreviewShown());
    return true;
  }
  return false;
}

void ResetWheel() { gWheelRemainder = 0; }

}  // namespace korvanth
