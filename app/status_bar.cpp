// The status bar child window: made, placed, shown or hidden, and its two parts' texts.
#include "app/status_bar.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <vector>

#include "app/menu_resource.h"
#include "app/status_text.h"
#include "app/window_state.h"
#include "convert/utf8_path.h"
#include "viewer/scroll_state.h"

namespace korvanth {

namespace {

constexpr int kPointerPart = 0;
constexpr int kMessagePart = 1;
// The pointer's part ends here (client pixels); the message part takes the rest.
constexpr int kPointerPartWidth = 420;

void SetPartText(HWND bar, int part, const std::string& text) {
  if (bar == nullptr) return;
  const std::optional<std::vector<WCHAR>> wide = WidenUtf8(text);
  const WCHAR empty[] = {0};
  SendMessageW(bar, SB_SETTEXTW, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(wide ? wide->data() : empty));
}

}  // namespace

int StatusBarHeight(const WindowState& state) {
  RECT bar{};
  if (!state.status.shown || state.status.window == nullptr ||
      !GetWindowRect(state.status.window, &bar))
    return 0;
  return std::max<int>(0, bar.bottom - bar.top);
}

void CreateStatusBar(WindowState& state, HWND window) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_BAR_CLASSES;
  InitCommonControlsEx(&controls);
  const DWORD style = WS_CHILD | SBARS_SIZEGRIP | (state.status.shown ? WS_VISIBLE : 0);
  state.status.window = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, style, 0, 0, 0, 0, window,
                                        nullptr, GetModuleHandleA(nullptr), nullptr);
  if (state.status.window == nullptr) return;  // the window goes on without one
  const int rights[] = {kPointerPartWidth, -1};
  SendMessageW(state.status.window, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(rights));
  SetPartText(state.status.window, kPointerPart, state.status.pointer);
  SetPartText(state.status.window, kMessagePart, state.status.message);
}

void LayOutClientArea(WindowState& state, HWND window, int width, int height) {
  if (state.status.window != nullptr)
    SendMessageW(state.status.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
  state.view.reservedBottom = StatusBarHeight(state);
  ResizeView(window, state.view, width, height);
}

void ShowStatusBar(WindowState& state, HWND window, bool shown) {
  state.status.shown = shown;
  if (state.status.window != nullptr) ShowWindow(state.status.window, shown ? SW_SHOWNA : SW_HIDE);
  RECT client{};
  GetClientRect(window, &client);
  LayOutClientArea(state, window, client.right, client.bottom);
  InvalidateRect(window, nullptr, FALSE);
  CheckStatusBarItem(state, window);
}

void CheckStatusBarItem(const WindowState& state, HWND window) {
  CheckMenuItem(GetMenu(window), IDM_VIEW_STATUS_BAR,
                MF_BYCOMMAND | (state.status.shown ? MF_CHECKED : MF_UNCHECKED));
}

void RefreshStatusPointer(WindowState& state) {
  std::string text;
  if (state.picture.exists())
    text = PointerStatusText(
        {state.view.cursor, SelectionOrigin(state), state.format, state.tileSize, state.view.zoom},
        state.language);
  if (text == state.status.pointer) return;
  state.status.pointer = std::move(text);
  SetPartText(state.status.window, kPointerPart, state.status.pointer);
}

void ShowStatusMessage(WindowState& state, const std::string& text) {
  state.status.message = text;
  SetPartText(state.status.window, kMessagePart, text);
}

void ReportSave(WindowState& state, const std::string& path, const ConversionResult& saved) {
  if (!saved.sheet.ok()) return;
  // Every tileset asked for was written but those that reported a problem.
  const std::size_t asked = std::popcount(static_cast<unsigned>(state.tilesets));
  const std::size_t written = asked - std::min(asked, saved.tilesets.size());
  ShowStatusMessage(state, SavedStatusText(path, written, state.language));
}

}  // namespace korvanth
