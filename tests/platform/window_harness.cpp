// A real test window whose procedure records every message; its class, menu and scroll info.
#include "window_harness.h"

#include <string>

#include <QCoreApplication>
#include <QTest>

#include <cstring>

namespace {

TestWindow* gCurrent = nullptr;
MessageHandler gPrepared;
constexpr char kClassName[] = "KorvanthTestClass";

}  // namespace

void RegisterTestWindowClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &TestWindow::Procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hIcon = LoadIconA(windowClass.hInstance, MAKEINTRESOURCEA(32512));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  windowClass.lpszClassName = kClassName;
  registered = RegisterClassExA(&windowClass) != 0;
}

HMENU AppendTestItem(HMENU menu, UINT flags, UINT_PTR id, const char* utf8) {
  std::basic_string<WCHAR> text;
  for (const QChar c : QString::fromUtf8(utf8 != nullptr ? utf8 : "")) text += WCHAR(c.unicode());
  return AppendMenuW(menu, flags, id, utf8 != nullptr ? text.c_str() : nullptr) ? menu : nullptr;
}

HMENU CreateTestMenu() {
  HMENU file = CreatePopupMenu();
  AppendTestItem(file, MF_STRING, kOpenCommand, "開く(&O)...");
  AppendTestItem(file, MF_SEPARATOR, 0, nullptr);
  AppendTestItem(file, MF_STRING, kExitCommand, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)");
  HMENU format = CreatePopupMenu();
  AppendTestItem(format, MF_STRING, kTerrain1Command, "地形1(&L)");
  AppendTestItem(format, MF_STRING, kTerrain2Command, "地形2(&A)");
  AppendTestItem(format, MF_STRING, kRoofCommand, "屋根(&R)");
  HMENU colour = CreatePopupMenu();
  AppendTestItem(colour, MF_STRING, kFrameCommand, "枠(&F)...");
  AppendTestItem(colour, MF_STRING, kBackgroundCommand, "背景(&B)...");
  HMENU bar = CreateMenu();
  AppendTestItem(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "ﾌｧｲﾙ(&F)");
  AppendTestItem(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(format), "形式(&F)");
  AppendTestItem(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(colour), "色(&C)");
  return bar;
}

SCROLLINFO FullInfo(int min, int max, UINT page, int pos) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = min;
  info.nMax = max;
  info.nPage = page;
  info.nPos = pos;
  return info;
}

TestWindow::TestWindow(bool withMenu, DWORD style, DWORD exStyle) {
  RegisterTestWindowClass();
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RECT rect{0, 0, 513, 513};
  AdjustWindowRectEx(&rect, style, withMenu ? TRUE : FALSE, exStyle);
  HMENU menu = withMenu ? CreateTestMenu() : nullptr;
  handler_ = std::move(gPrepared);
  gPrepared = nullptr;
  gCurrent = this;
  hwnd_ = CreateWindowExA(exStyle, kClassName, "Korvanth", style, CW_USEDEFAULT, CW_USEDEFAULT,
                          rect.right - rect.left, rect.bottom - rect.top, nullptr, menu, instance,
                          nullptr);
}

TestWindow::~TestWindow() {
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  korvanth::platform::FlushDestroyedWindows();
  if (gCurrent == this) gCurrent = nullptr;
}

void TestWindow::PrepareHandler(MessageHandler handler) { gPrepared = std::move(handler); }

QWidget* TestWindow::frame() const { return hwnd_ != nullptr ? hwnd_->widget() : nullptr; }

RECT TestWindow::clientRect() const {
  RECT rect{-1, -1, -1, -1};
  GetClientRect(hwnd_, &rect);
  return rect;
}

std::vector<UINT> TestWindow::messageIds() const {
  std::vector<UINT> ids;
  for (const Message& m : messages_) ids.push_back(m.message);
  return ids;
}

std::vector<Message> TestWindow::only(UINT message) const {
  std::vector<Message> found;
  for (const Message& m : messages_)
    if (m.message == message) found.push_back(m);
  return found;
}

LRESULT TestWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gCurrent != nullptr) {
    gCurrent->messages_.push_back({message, wParam, lParam});
    if (gCurrent->handler_) {
      if (auto answer = gCurrent->handler_(window, message, wParam, lParam)) return *answer;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
