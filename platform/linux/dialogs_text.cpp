// Window text in and out of the dialogs' controls, with the WM_GETTEXT buffer rules.
#include <cstring>

#include "platform/linux/dialogs_internal.h"

namespace korvanth::platform {

std::size_t CopyTextOut(const QByteArray& utf8, std::size_t size, char* buffer) {
  if (buffer == nullptr || size == 0) return 0;
  std::size_t count = std::min(static_cast<std::size_t>(utf8.size()), size - 1);
  // A cut inside a multi-byte character would hand on broken UTF-8: stop before it.
  if (count < static_cast<std::size_t>(utf8.size())) {
    while (count > 0 && (static_cast<unsigned char>(utf8[count]) & 0xC0) == 0x80) --count;
  }
  std::memcpy(buffer, utf8.constData(), count);
  buffer[count] = '\0';
  return count;
}

LRESULT LineEditTextMessage(QLineEdit* edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (edit == nullptr) return 0;
  switch (message) {
    case WM_GETTEXT:
      return static_cast<LRESULT>(
          CopyTextOut(edit->text().toUtf8(), wParam, reinterpret_cast<char*>(lParam)));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(edit->text().toUtf8().size());
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      edit->setText(text != nullptr ? QString::fromUtf8(text) : QString());
      return TRUE;
    }
    default:
      return 0;
  }
}

}  // namespace korvanth::platform
