// A real main window made through RegisterClassExA / CreateWindowExA, whose window
// procedure records every message it gets before passing it on to DefWindowProcA.
#pragma once

#include <QPoint>

#include <functional>
#include <optional>
#include <vector>

#include "platform/linux/window_internals.h"
#include "gui_support/win32_test_calls.h"

// The commands of the test menu (number 101) every TestWindow with a menu loads.
constexpr WORD kOpenCommand = 40001;
constexpr WORD kExitCommand = 40002;
constexpr WORD kTerrain1Command = 40003;
constexpr WORD kTerrain2Command = 40004;
constexpr WORD kRoofCommand = 40005;
constexpr WORD kFrameCommand = 40006;
constexpr WORD kBackgroundCommand = 40007;

struct Message {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Lets a test answer a message itself; nullopt passes it on to DefWindowProcA.
using MessageHandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

class TestWindow {
 public:
  // Style and size as the program asks for them unless told otherwise.
  explicit TestWindow(bool withMenu = true, DWORD style = 0x12CF0000, DWORD exStyle = 0x210);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  QWidget* frame() const;
  QWidget* client() const { return korvanth::platform::ClientWidgetOf(hwnd_); }
  RECT clientRect() const;

  const std::vector<Message>& messages() const { return messages_; }
  std::vector<UINT> messageIds() const;
  std::vector<Message> only(UINT message) const;
  void clear() { messages_.clear(); }
  void setHandler(MessageHandler handler) { handler_ = std::move(handler); }
  // The handler the next TestWindow starts with, so that it sees creation too.
  static void PrepareHandler(MessageHandler handler);

  static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  HWND hwnd_ = nullptr;
  std::vector<Message> messages_;
  MessageHandler handler_;
};

// The class "KorvanthTestClass" whose procedure is TestWindow::Procedure.
void RegisterTestWindowClass();

// The test window's menu: ﾌｧｲﾙ, 形式 and 色 with the commands above.
HMENU CreateTestMenu();
// AppendMenuW with a UTF-8 text (null: none); the menu, or null when it refused.
HMENU AppendTestItem(HMENU menu, UINT flags, UINT_PTR id, const char* utf8);

// Full-mask SCROLLINFO as the viewer sends it.
SCROLLINFO FullInfo(int min, int max, UINT page, int pos);
