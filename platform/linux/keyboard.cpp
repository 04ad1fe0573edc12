// Off Windows: keys and the wheel as Windows reports them. Qt's key codes become virtual
// keys; GetKeyState answers from the modifiers of the input event being handled.
#include <QKeyEvent>
#include <QWheelEvent>

#include <optional>

#include "platform/linux/top_level_window.h"

namespace korvanth::platform {

namespace {

// The modifiers of the last input event that reached a window.
Qt::KeyboardModifiers gModifiers = Qt::NoModifier;

std::optional<WPARAM> VirtualKey(const QKeyEvent* event) {
  const int key = event->key();
  const bool keypad = event->modifiers() & Qt::KeypadModifier;
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return keypad ? VK_NUMPAD0 + (key - Qt::Key_0) : '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  switch (key) {
    case Qt::Key_Plus:
      return keypad ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Equal:  // the key that carries '+' on many layouts
    case Qt::Key_Semicolon:
      return VK_OEM_PLUS;
    case Qt::Key_Minus:
      return keypad ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Return:
    case Qt::Key_Enter:  // the keypad's
      return VK_RETURN;
    case Qt::Key_Control:
      return VK_CONTROL;
    case Qt::Key_Shift:
      return VK_SHIFT;
    default:
      return std::nullopt;
  }
}

WPARAM KeysDown(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  WPARAM keys = 0;
  if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
  if (modifiers & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

}  // namespace

bool MainWindow::onKey(UINT message, QKeyEvent* event) {
  if (!alive_) return false;
  const std::optional<WPARAM> key = VirtualKey(event);
  if (!key) return false;
  gModifiers = event->modifiers();
  // Bit 30 of lParam: the key was already down (auto-repeat); bits 0-15 the repeat count.
  LPARAM flags = 1;
  if (event->isAutoRepeat()) flags |= LPARAM{1} << 30;
  if (message == WM_KEYUP) flags |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
  send(message, *key, flags);
  return true;
}

void MainWindow::onWheel(QWheelEvent* event) {
  if (!alive_) return;
  gModifiers = event->modifiers();
  const int delta = event->angleDelta().y();
  if (delta == 0) return;
  const QPoint global = event->globalPosition().toPoint();
  send(WM_MOUSEWHEEL, MAKEWPARAM(KeysDown(event->buttons(), event->modifiers()), delta),
       MAKELPARAM(global.x(), global.y()));
}

}  // namespace korvanth::platform

SHORT GetKeyState(int virtualKey) {
  constexpr SHORT kDown = static_cast<SHORT>(0x8000);
  switch (virtualKey) {
    case VK_CONTROL:
      return (korvanth::platform::gModifiers & Qt::ControlModifier) ? kDown : 0;
    case VK_SHIFT:
      return (korvanth::platform::gModifiers & Qt::ShiftModifier) ? kDown : 0;
    default:
      return 0;
  }
}
