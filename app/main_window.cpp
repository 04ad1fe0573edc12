#include "app/main_window.h"

#include <vector>

#include "app/file_dialogs.h"
#include "app/format_commands.h"
#include "app/menu_install.h"
#include "app/menu_resource.h"
#include "app/picture_export.h"
#include "app/picture_loading.h"
#include "app/sheet_preview.h"
#include "app/view_commands.h"
#include "convert/format_registry.h"
#include "imaging/gdiplus_api.h"
#include "viewer/canvas.h"
#include "viewer/scroll_state.h"
#include "viewer/view_colours.h"
#include "viewer/view_zoom.h"

namespace korvanth {

namespace {

const GdiplusStartupInput gStartupInput;
ULONG_PTR gGdiplusToken = 0;

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES;

void CloseMainWindow(HWND window) {
  // The owned preview goes first: its images must be gone before GDI+ shuts down.
  DestroySheetPreview();
  DestroySourceImage();
  ClickArmed = false;
  ResetFormatSettings();
  ViewZoom = kMinZoom;
  ResetWheel();
  DestroyWindow(window);
  GdiplusShutdown(gGdiplusToken);
  PostQuitMessage(0);
}

// The first dropped file is opened; the others of the same drop are ignored.
void OpenDroppedFile(HWND window, HDROP drop) {
  const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
  // Held whole, however long: a cut path would name another file.
  std::vector<char> path(static_cast<size_t>(length) + 1, '\0');
  DragQueryFileA(drop, 0, path.data(), static_cast<UINT>(path.size()));
  LoadSourceImage(window, path.data());
  DragFinish(drop);
}

void LeftButtonReleased(HWND window) {
  if (!ClickArmed) {
    ClickArmed = true;
    return;
  }
  if (SourceImage.exists()) RunSaveDialog(window);
}

bool RunCommand(HWND window, WORD command) {
  switch (command) {
    case IDM_FILE_OPEN:
      ClickArmed = false;
      RunOpenDialog(window);
      return true;
    case IDM_FILE_EXPORT_ALL:
      ClickArmed = false;
      RunWholePictureExport(window);
      return true;
    case IDM_FILE_EXIT:
      SendMessageA(window, WM_CLOSE, 0, 0);
      return true;
    case IDM_COLOUR_FRAME:
      ChooseViewColour(window, kFrameColour);
      InvalidateRect(window, nullptr, FALSE);
      return true;
    case IDM_COLOUR_BACKGROUND:
      ChooseViewColour(window, kBackgroundColour);
      InvalidateRect(window, nullptr, FALSE);
      return true;
    default:
      return RunFormatCommand(window, command) || RunViewCommand(window, command);
  }
}

}  // namespace

bool ChooseViewColour(HWND owner, int slot) {
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.rgbResult = ViewColours[slot];
  dialog.lpCustColors = CustomColours;
  dialog.Flags = CC_RGBINIT;
  if (!ChooseColorA(&dialog)) return false;
  ViewColours[slot] = dialog.rgbResult;
  return true;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      GdiplusStartup(&gGdiplusToken, &gStartupInput, nullptr);
      InitScrollBars(window, MainWindowState.view);
      CheckFormatMenu(window);
      CheckZoomItem(window);
      return 0;
    case WM_SIZE:
      ResizeView(window, MainWindowState.view, LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_SETFOCUS:
      ClickArmed = false;
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      PaintView(dc, MainWindowState.view,
                {SourceImage.canvas(), CurrentSheetLayout(), SelectionOrigin()});
      EndPaint(window, &paint);
      RefreshSheetPreview();
      return 0;
    }
    case WM_CLOSE:
      CloseMainWindow(window);
      return 0;
    case WM_SHOWWINDOW:
      if (ArgumentCount > 1) {
        LoadSourceImage(window, ArgumentVector[1]);
      } else if (!MainWindowState.bundledSample.empty()) {
        LoadSourceImage(window, MainWindowState.bundledSample.c_str());
      }
      ArgumentCount = 0;
      MainWindowState.bundledSample.clear();
      return 0;
    case WM_COMMAND:
      if (RunCommand(window, LOWORD(wParam))) return 0;
      break;
    case WM_HSCROLL:
      ScrollHorz(window, MainWindowState.view, wParam);
      break;
    case WM_VSCROLL:
      ScrollVert(window, MainWindowState.view, wParam);
      break;
    case WM_MOUSEMOVE:
      TrackCursor(window, MainWindowState.view, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_MOUSEWHEEL:
      if (ZoomByWheel(window, wParam, lParam)) return 0;
      break;
    case WM_KEYDOWN:
      if (ZoomByKey(window, wParam)) return 0;
      break;
    case WM_LBUTTONUP:
      LeftButtonReleased(window);
      return 0;
    case WM_DROPFILES:
      OpenDroppedFile(window, reinterpret_cast<HDROP>(wParam));
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

  RECT frame{0, 0, kInitialClientSize, kInitialClientSize};
  AdjustWindowRectEx(&frame, kWindowStyle, TRUE, kWindowExStyle);
  HMENU menu = CreateMainMenu(instance);
  return CreateWindowExA(kWindowExStyle, kMainWindowClass, kMainWindowTitle, kWindowStyle,
                         CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                         frame.bottom - frame.top, nullptr, menu, instance, nullptr);
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
