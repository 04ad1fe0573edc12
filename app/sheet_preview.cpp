#include "app/sheet_preview.h"

#include <optional>

#include "app/menu_resource.h"
#include "app/window_state.h"
#include "viewer/canvas.h"
#include "viewer/preview_render.h"

namespace korvanth {

namespace {

constexpr DWORD kPreviewStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
// A tool window that never takes the focus from the main window (which would disarm it).
constexpr DWORD kPreviewExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

// What the shown sheet was built from.
struct PreviewKey {
  SheetLayout layout;
  SelectionPoint origin;
  friend bool operator==(const PreviewKey& a, const PreviewKey& b) {
    return a.layout == b.layout && a.origin.x == b.origin.x && a.origin.y == b.origin.y;
  }
};

struct PreviewState {
  HWND window = nullptr;
  HWND owner = nullptr;
  bool shown = false;
  bool built = false;  // false: the next refresh rebuilds
  PreviewKey key;
  PreviewFrame frame{};         // the scale and client size the window was made for
  std::optional<POINT> placed;  // where the next new window goes; none: beside the owner
  ImageHandle composed;
  int builds = 0;
};
PreviewState gPreview;

LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client{};
      GetClientRect(window, &client);
      PaintPreview(dc, &gPreview.composed, client, gPreview.frame.scale);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
      // The close box hides the preview; the view menu brings it back.
      ShowSheetPreview(gPreview.owner, false);
      return 0;
    case WM_DESTROY:
      gPreview.composed = ImageHandle();
      gPreview.built = false;
      gPreview.window = nullptr;
      gPreview.shown = false;
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

PreviewFrame CurrentFrame() {
  return PreviewFrameFor(MainWindowState.tileSize, MainWindowState.complete);
}

// Made for the current frame, at `corner` (screen pixels) or, without one, beside the main
// window, so that it covers none of the picture.
HWND CreatePreviewWindow(HWND owner, const POINT* corner = nullptr) {
  static bool registered = false;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!registered) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = PreviewWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kPreviewWindowClass;
    registered = RegisterClassExA(&windowClass) != 0;
  }
  gPreview.frame = CurrentFrame();
  const PixelSize client = gPreview.frame.client;
  RECT frame{0, 0, client.width, client.height};
  AdjustWindowRectEx(&frame, kPreviewStyle, FALSE, kPreviewExStyle);
  POINT at{CW_USEDEFAULT, CW_USEDEFAULT};
  RECT ownerFrame{};
  if (corner != nullptr)
    at = *corner;
  else if (GetWindowRect(owner, &ownerFrame))
    at = {ownerFrame.right, ownerFrame.top};
  return CreateWindowExA(kPreviewExStyle, kPreviewWindowClass, kPreviewWindowTitle, kPreviewStyle,
                         at.x, at.y, frame.right - frame.left, frame.bottom - frame.top, owner,
                         nullptr, instance, nullptr);
}

// A tile size or complete setting whose sheets need another scale or size gets a new
// window in the old one's place (the portable subset has no call that resizes a window).
void MatchPreviewFrame() {
  if (gPreview.window == nullptr || gPreview.frame == CurrentFrame()) return;
  RECT placed{};
  GetWindowRect(gPreview.window, &placed);
  const POINT corner{placed.left, placed.top};
  const bool shown = gPreview.shown;
  DestroyWindow(gPreview.window);  // forgets the window and its sheet
  gPreview.window = CreatePreviewWindow(gPreview.owner, &corner);
  gPreview.shown = shown && gPreview.window != nullptr;
  if (gPreview.shown) ShowWindow(gPreview.window, SW_SHOWNOACTIVATE);
}

// The block a paint would select now: the pointer's cell, placed by the shared rule.
std::optional<PreviewKey> CurrentKey() {
  if (!SourceImage.exists()) return std::nullopt;
  return PreviewKey{CurrentSheetLayout(), SelectionOrigin()};
}

}  // namespace

void ShowSheetPreview(HWND owner, bool show) {
  gPreview.owner = owner;
  if (show && gPreview.window == nullptr)
    gPreview.window = CreatePreviewWindow(owner, gPreview.placed ? &*gPreview.placed : nullptr);
  if (gPreview.window != nullptr) {
    gPreview.shown = show;
    if (show) RefreshSheetPreview();
    ShowWindow(gPreview.window, show ? SW_SHOWNOACTIVATE : SW_HIDE);
  }
  CheckMenuItem(GetMenu(owner), IDM_VIEW_PREVIEW,
                MF_BYCOMMAND | (gPreview.shown ? MF_CHECKED : MF_UNCHECKED));
}

bool SheetPreviewShown() { return gPreview.shown; }

void PlaceSheetPreview(POINT corner) { gPreview.placed = corner; }

HWND SheetPreviewWindow() { return gPreview.window; }

void RefreshSheetPreview() {
  if (gPreview.window == nullptr || !gPreview.shown) return;
  MatchPreviewFrame();
  if (gPreview.window == nullptr) return;
  const std::optional<PreviewKey> key = CurrentKey();
  if (!key) {
    if (!gPreview.composed.empty()) {
      gPreview.composed = ImageHandle();
      InvalidateRect(gPreview.window, nullptr, FALSE);
    }
    gPreview.built = false;
    return;
  }
  if (gPreview.built && gPreview.key == *key) return;
  gPreview.composed = ComposePreview(key->layout, *SourceImage.image, key->origin);
  gPreview.key = *key;
  gPreview.built = true;
  ++gPreview.builds;
  InvalidateRect(gPreview.window, nullptr, FALSE);
}

void SheetPreviewPictureChanged() {
  gPreview.built = false;
  RefreshSheetPreview();
}

int SheetPreviewBuilds() { return gPreview.builds; }

void DestroySheetPreview() {
  if (gPreview.window != nullptr) DestroyWindow(gPreview.window);
  gPreview = PreviewState{};
}

}  // namespace korvanth
