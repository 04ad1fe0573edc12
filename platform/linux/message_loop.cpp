// The thread's message queue: posted messages wait here while Qt's event loop runs
// until one arrives; WM_QUIT ends GetMessageA.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEvent>

#include <deque>

#include "platform/linux/top_level_window.h"
#include "platform/linux/window_internals.h"

namespace {

std::deque<MSG>& Queue() {
  static auto* queue = new std::deque<MSG>;
  return *queue;
}

DWORD TickCount() {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return static_cast<DWORD>(clock.elapsed());
}

}  // namespace

void korvanth::platform::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const QPoint cursor = QCursor::pos();
  Queue().push_back(
      MSG{window, message, wParam, lParam, TickCount(), POINT{cursor.x(), cursor.y()}});
  if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

void PostQuitMessage(int exitCode) {
  korvanth::platform::Post(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

BOOL GetMessageA(LPMSG msg, HWND, UINT, UINT) {
  if (msg == nullptr) return -1;
  for (;;) {
    korvanth::platform::FlushDestroyedWindows();
    if (!Queue().empty()) {
      *msg = Queue().front();
      Queue().pop_front();
      return msg->message == WM_QUIT ? FALSE : TRUE;
    }
    if (QCoreApplication::instance() == nullptr) return -1;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

BOOL TranslateMessage(const MSG*) {
  // No keyboard messages are produced, so there are no characters to translate.
  return FALSE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (msg == nullptr || msg->hwnd == nullptr) return 0;
  return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
