// The main window: its class and creation, the message procedure, its commands and closing.
#include "app/window_procedure.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/block_map_mode.h"
#include "app/file_dialogs.h"
#include "app/format_commands.h"
#include "app/language_commands.h"
#include "app/menu_install.h"
#include "app/menu_resource.h"
#include "app/picture_export.h"
#include "app/picture_loading.h"
#include "app/picture_reload.h"
#include "app/recent_pictures.h"
#include "app/selection_keys.h"
#include "app/sheet_preview.h"
#include "app/status_bar.h"
#include "app/view_commands.h"
#include "app/window_choices.h"
#include "convert/format_registry.h"
#include "imaging/gdiplus_api.h"
#include "viewer/canvas.h"
#include "viewer/scroll_state.h"
#include "viewer/view_colours.h"
#include "viewer/view_zoom.h"

namespace korvanth {

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES;

void CloseMainWindow(WindowState& state, HWND window) {
  RememberChoices(state, window);
  KillTimer(window, kPictureWatchTimer);
  // The owned preview goes first: its images must be gone before GDI+ shuts down.
  DestroySheetPreview(state.preview);
  DestroySourceImage(state.picture);
  state.clickArmed = false;
  state.blockMap = {};
  ResetFormatSettings(state);
  state.view.zoom = kMinZoom;
  state.wheelRemainder = 0;
  DestroyWindow(window);
  GdiplusShutdown(state.gdiplusToken);
  PostQuitMessage(0);
}

// The first dropped file is opened; the others of the same drop are ignored.
void OpenDroppedFile(WindowState& state, HWND window, HDROP drop) {
  const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
  // Held whole, however long: a cut path would name another file.
  std::vector<char> path(static_cast<size_t>(length) + 1, '\0');
  DragQueryFileA(drop, 0, path.data(), static_cast<UINT>(path.size()));
  LoadSourceImage(state, window, path.data());
  DragFinish(drop);
}

void LeftButtonReleased(WindowState& state, HWND window) {
  if (!state.clickArmed) {
    state.clickArmed = true;
    return;
  }
  ActOnSelection(state, window);
}

bool RunCommand(WindowState& state, HWND window, WORD command) {
  switch (command) {
    case IDM_FILE_OPEN:
      state.clickArmed = false;
      RunOpenDialog(state, window);
      return true;
    case IDM_FILE_EXPORT_ALL:
      state.clickArmed = false;
      RunWholePictureExport(state, window);
      return true;
    case IDM_FILE_EXIT:
      SendMessageA(window, WM_CLOSE, 0, 0);
      return true;
    case IDM_COLOUR_FRAME:
      ChooseViewColour(state, window, kFrameColour);
      InvalidateRect(window, nullptr, FALSE);
      return true;
    case IDM_COLOUR_BACKGROUND:
      ChooseViewColour(state, window, kBackgroundColour);
      InvalidateRect(window, nullptr, FALSE);
      return true;
    default:
      return RunFormatCommand(state, window, command) ||
             RunBlockMapCommand(state, window, command) || RunViewCommand(state, window, command) ||
             RunRecentPictureCommand(state, window, command) ||
             RunLanguageCommand(state, window, command);
  }
}

// The remembered size, within the work area; else the first size for the start picture.
PixelSize OpeningWindowSize(const WindowState& state) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const PixelSize workArea{work.right - work.left, work.bottom - work.top};
  if (const auto& remembered = state.remembered.windowSize) {
    if (workArea.width <= 0 || workArea.height <= 0) return {remembered->width, remembered->height};
    return {std::min(remembered->width, workArea.width),
            std::min(remembered->height, workArea.height)};
  }
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, kWindowStyle, TRUE, kWindowExStyle);
  // The status bar, once it is there, takes its rows from the client area as well.
  const WindowFrameExtent extent{frame.right - frame.left,
                                 frame.bottom - frame.top + StatusBarHeight(state),
                                 GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
  return FirstWindowSize(PictureSizeOnDisk(PictureToOpenAtStart(state)), workArea, extent);
}

// Ctrl+O and Ctrl+Q, the keys the ファイル menu shows beside its items; 0 for any other key.
WORD FileCommandForKey(WPARAM key) {
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) < 0) return 0;
  if (key == 'O') return IDM_FILE_OPEN;
  if (key == 'Q') return IDM_FILE_EXIT;
  return 0;
}

bool RunKey(WindowState& state, HWND window, WPARAM key) {
  if (const WORD command = FileCommandForKey(key)) return RunCommand(state, window, command);
  return ZoomByKey(state, window, key) || RunSelectionKey(state, window, key);
}

// The first showing opens the start picture and brings the preview back as remembered;
// a later showing (after a hide) changes nothing.
void FirstShowing(WindowState& state, HWND window) {
  if (state.startPictureOpened) return;
  const std::string picture = PictureToOpenAtStart(state);
  state.startPictureOpened = true;
  if (!picture.empty()) LoadSourceImage(state, window, picture.c_str());
  ShowRememberedPreview(state, window);
}

}  // namespace

bool ChooseViewColour(WindowState& state, HWND owner, int slot) {
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.rgbResult = state.view.colours[slot];
  dialog.lpCustColors = state.customColours;
  dialog.Flags = CC_RGBINIT;
  if (!ChooseColorA(&dialog)) return false;
  state.view.colours[slot] = dialog.rgbResult;
  return true;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowState& state = MainWindowState;
  switch (message) {
    case WM_CREATE: {
      const GdiplusStartupInput startup;
      GdiplusStartup(&state.gdiplusToken, &startup, nullptr);
      CreateStatusBar(state, window);
      // The first size is known only now that the bar can be measured: the window grows
      // by it, within the same share of the screen.
      if (!state.remembered.windowSize && StatusBarHeight(state) > 0) {
        const PixelSize size = OpeningWindowSize(state);
        SetWindowPos(window, nullptr, 0, 0, size.width, size.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      InitScrollBars(window, state.view);
      PutMenuMarks(state, window);
      StartPictureWatch(window);
      return 0;
    }
    case WM_SIZE:
      LayOutClientArea(state, window, LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_SETFOCUS:
      state.clickArmed = false;
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      const std::vector<BlockOutline> outlines = BlockMapOutlines(state);
      PaintView(dc, state.view,
                {state.picture.canvas(), CurrentSheetLayout(state), SelectionOrigin(state),
                 outlines, state.language});
      EndPaint(window, &paint);
      RefreshSheetPreview(state);
      RefreshStatusPointer(state);
      return 0;
    }
    case WM_CLOSE:
      CloseMainWindow(state, window);
      return 0;
    case WM_SHOWWINDOW:
      FirstShowing(state, window);
      return 0;
    case WM_COMMAND:
      if (RunCommand(state, window, LOWORD(wParam))) return 0;
      break;
    case WM_HSCROLL:
      ScrollHorz(window, state.view, wParam);
      break;
    case WM_VSCROLL:
      ScrollVert(window, state.view, wParam);
      break;
    case WM_MOUSEMOVE:
      TrackCursor(window, state.view, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_MOUSEWHEEL:
      if (ZoomByWheel(state, window, wParam, lParam)) return 0;
      break;
    case WM_KEYDOWN:
      if (RunKey(state, window, wParam)) return 0;
      break;
    case WM_LBUTTONUP:
      LeftButtonReleased(state, window);
      return 0;
    case WM_TIMER:
      if (wParam != kPictureWatchTimer) break;
      LookAtOpenPicture(state, window);
      return 0;
    case WM_DROPFILES:
      OpenDroppedFile(state, window, reinterpret_cast<HDROP>(wParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateMainWindow(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = 0;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(32512));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassExA(&windowClass);

  const PixelSize size = OpeningWindowSize(MainWindowState);
  SpeakWindowLanguage(MainWindowState.language);
  HMENU menu =
      CreateMainMenu(MainMenuLines(MainWindowState.language, MainWindowState.recentPictures));
  return CreateWindowExA(kWindowExStyle, kMainWindowClass, kMainWindowTitle, kWindowStyle,
                         CW_USEDEFAULT, CW_USEDEFAULT, size.width, size.height, nullptr, menu,
                         instance, nullptr);
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace korvanth
