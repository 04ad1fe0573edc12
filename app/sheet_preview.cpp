// The sheet preview tool window: rebuilt only when its block, format or picture changes.
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

// The preview's window procedure, where it reaches the window's one state.
LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SheetPreviewState& preview = MainWindowState.preview;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client{};
      GetClientRect(window, &client);
      PaintPreview(dc, &preview.composed, client, preview.frame.scale);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
      // The close box hides the preview; the view menu brings it back.
      ShowSheetPreview(MainWindowState, preview.owner, false);
      return 0;
    case WM_DESTROY:
      preview.composed = ImageHandle();
      preview.built = false;
      preview.window = nullptr;
      preview.shown = false;
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

PreviewFrame CurrentFrame(const WindowState& state) {
  return PreviewFrameFor(state.tileSize, state.complete);
}

// Made for the current frame, at `corner` (screen pixels) or, without one, beside the main
// window, so that it covers none of the picture.
HWND CreatePreviewWindow(WindowState& state, HWND owner, const POINT* corner = nullptr) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  // Registered again for every window, as the main window's class is: a class that is
  // there already stays as it is.
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = PreviewWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  windowClass.lpszClassName = kPreviewWindowClass;
  RegisterClassExA(&windowClass);
  state.preview.frame = CurrentFrame(state);
  const PixelSize client = state.preview.frame.client;
  RECT frame{0, 0, client.width, client.height};
  AdjustWindowRectEx(&frame, kPreviewStyle, FALSE, kPreviewExStyle);
  POINT at{CW_USEDEFAULT, CW_USEDEFAULT};
  RECT ownerFrame{};
  if (corner != nullptr)
    at = *corner;
  else if (GetWindowRect(owner, &ownerFrame))
    at = {ownerFrame.right, ownerFrame.top};
  return CreateWindowExA(kPreviewExStyle, kPreviewWindowClass,
                         InLanguage(kPreviewWindowTitle, state.language), kPreviewStyle, at.x, at.y,
                         frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                         instance, nullptr);
}

// A tile size or complete setting whose sheets need another scale or size gets a new
// window in the old one's place (the Linux subset has no call that resizes a window).
void MatchPreviewFrame(WindowState& state) {
  SheetPreviewState& preview = state.preview;
  if (preview.window == nullptr || preview.frame == CurrentFrame(state)) return;
  RECT placed{};
  GetWindowRect(preview.window, &placed);
  const POINT corner{placed.left, placed.top};
  const bool shown = preview.shown;
  DestroyWindow(preview.window);  // forgets the window and its sheet
  preview.window = CreatePreviewWindow(state, preview.owner, &corner);
  preview.shown = shown && preview.window != nullptr;
  if (preview.shown) ShowWindow(preview.window, SW_SHOWNOACTIVATE);
}

// The block a paint would select now: the pointer's cell, placed by the shared rule.
std::optional<PreviewKey> CurrentKey(const WindowState& state) {
  if (!state.picture.exists()) return std::nullopt;
  return PreviewKey{CurrentSheetLayout(state), SelectionOrigin(state)};
}

}  // namespace

void ShowSheetPreview(WindowState& state, HWND owner, bool show) {
  SheetPreviewState& preview = state.preview;
  preview.owner = owner;
  if (show && preview.window == nullptr)
    preview.window = CreatePreviewWindow(state, owner, preview.placed ? &*preview.placed : nullptr);
  if (preview.window != nullptr) {
    preview.shown = show;
    if (show) RefreshSheetPreview(state);
    ShowWindow(preview.window, show ? SW_SHOWNOACTIVATE : SW_HIDE);
  }
  CheckMenuItem(GetMenu(owner), IDM_VIEW_PREVIEW,
                MF_BYCOMMAND | (preview.shown ? MF_CHECKED : MF_UNCHECKED));
}

void RefreshSheetPreview(WindowState& state) {
  SheetPreviewState& preview = state.preview;
  if (preview.window == nullptr || !preview.shown) return;
  MatchPreviewFrame(state);
  if (preview.window == nullptr) return;
  const std::optional<PreviewKey> key = CurrentKey(state);
  if (!key) {
    if (!preview.composed.empty()) {
      preview.composed = ImageHandle();
      InvalidateRect(preview.window, nullptr, FALSE);
    }
    preview.built = false;
    return;
  }
  if (preview.built && preview.key == *key) return;
  preview.composed = ComposePreview(key->layout, *state.picture.image, key->origin);
  preview.key = *key;
  preview.built = true;
  ++preview.builds;
  InvalidateRect(preview.window, nullptr, FALSE);
}

void SheetPreviewPictureChanged(WindowState& state) {
  state.preview.built = false;
  RefreshSheetPreview(state);
}

void RetitleSheetPreview(const WindowState& state) {
  if (state.preview.window != nullptr)
    SetWindowTextA(state.preview.window, InLanguage(kPreviewWindowTitle, state.language));
}

void DestroySheetPreview(SheetPreviewState& preview) {
  if (preview.window != nullptr) DestroyWindow(preview.window);
  preview = SheetPreviewState{};
}

}  // namespace korvanth
