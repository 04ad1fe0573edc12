// Off Windows: what an HWND is. Every window of the subset, main windows and the
// dialogs alike, is an HWND__ that knows its Qt widget, its parent and how a message
// sent to it is handled. The window half and the dialog half each derive their own.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/linux/win32_messages.h"

struct HWND__ {
  virtual ~HWND__() = default;
  // The Qt widget that shows this window (top-level window or dialog); may be null
  // once the widget is gone.
  virtual QWidget* widget() const = 0;
  // GetParent: the owner or parent window, or null.
  virtual HWND parent() const { return nullptr; }
  // SendMessageA: handled synchronously, as Windows does for a window of this thread.
  virtual LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // SendDlgItemMessageA: a message to the dialog's control with this identifier;
  // 0 when there is no such control.
  virtual LRESULT sendToItem(int /*itemId*/, UINT /*message*/, WPARAM /*wParam*/,
                             LPARAM /*lParam*/) {
    return 0;
  }
};

namespace korvanth::platform {
// The HWND of a top-level window of ours showing this widget (or one of its children),
// or null. Used to find the owner of dialogs and to answer GetFocus.
HWND WindowForWidget(QWidget* widget);
}  // namespace korvanth::platform
