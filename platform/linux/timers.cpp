// Window timers over QTimer: WM_TIMER (or the timer's procedure) each time one runs out,
// delivered from whichever event loop runs then, as Windows delivers it from any message
// loop of the thread; a window's timers stop when it goes.
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/linux/top_level_window.h"
#include "platform/linux/window_internals.h"

namespace {

struct WindowTimer {
  HWND window;
  UINT_PTR id;
  TIMERPROC procedure;
  std::unique_ptr<QTimer> timer;
  bool delivering = false;  // a handler that runs a nested loop gets no second tick meanwhile
};

std::vector<std::unique_ptr<WindowTimer>>& Timers() {
  static auto* timers = new std::vector<std::unique_ptr<WindowTimer>>;
  return *timers;
}

WindowTimer* FindTimer(HWND window, UINT_PTR id) {
  for (const auto& entry : Timers())
    if (entry->window == window && entry->id == id) return entry.get();
  return nullptr;
}

DWORD Milliseconds() {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return static_cast<DWORD>(clock.elapsed());
}

// The QTimer may be the one delivering: it is deleted once its signal is over.
void Remove(WindowTimer* entry) {
  auto& timers = Timers();
  const auto found = std::find_if(timers.begin(), timers.end(),
                                  [entry](const auto& held) { return held.get() == entry; });
  if (found == timers.end()) return;
  std::unique_ptr<WindowTimer> gone = std::move(*found);
  timers.erase(found);
  gone->timer->stop();
  gone->timer.release()->deleteLater();
}

void Deliver(WindowTimer* entry) {
  if (entry->delivering) return;
  const HWND window = entry->window;
  const UINT_PTR id = entry->id;
  if (korvanth::platform::LiveMainWindow(window) == nullptr) {
    Remove(entry);
    return;
  }
  entry->delivering = true;
  if (entry->procedure != nullptr)
    entry->procedure(window, WM_TIMER, id, Milliseconds());
  else
    SendMessageA(window, WM_TIMER, id, 0);
  // The handler may have killed the timer (and another may have taken its place).
  if (WindowTimer* still = FindTimer(window, id); still == entry) entry->delivering = false;
}

}  // namespace

namespace korvanth::platform {

void KillTimersOf(HWND window) {
  std::vector<WindowTimer*> gone;
  for (const auto& entry : Timers())
    if (entry->window == window) gone.push_back(entry.get());
  for (WindowTimer* entry : gone) Remove(entry);
}

}  // namespace korvanth::platform

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerProc) {
  if (korvanth::platform::LiveMainWindow(window) == nullptr) return 0;
  const int interval = static_cast<int>(
      std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, static_cast<UINT>(USER_TIMER_MAXIMUM)));
  WindowTimer* entry = FindTimer(window, id);
  if (entry == nullptr) {
    auto made = std::make_unique<WindowTimer>(
        WindowTimer{window, id, timerProc, std::make_unique<QTimer>(), false});
    entry = made.get();
    QObject::connect(entry->timer.get(), &QTimer::timeout, entry->timer.get(),
                     [entry] { Deliver(entry); });
    Timers().push_back(std::move(made));
  }
  entry->procedure = timerProc;
  entry->timer->start(interval);
  // Windows answers a window's timer with a value other than 0.
  return id != 0 ? id : 1;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  WindowTimer* entry = FindTimer(window, id);
  if (entry == nullptr) return FALSE;
  Remove(entry);
  return TRUE;
}
