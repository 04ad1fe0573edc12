// Escape closing a menu of the bar: the keyboard goes back to the window at once.
#include "platform/linux/menu_escape.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>

#include <utility>

namespace korvanth::platform {

namespace {

// Watches the bar's menus; lives as long as the bar, its parent.
class EscapeWatcher final : public QObject {
 public:
  EscapeWatcher(QMenuBar* bar, std::function<QWidget*()> client)
      : QObject(bar), bar_(bar), client_(std::move(client)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool escape = event->type() == QEvent::KeyPress &&
                        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    // After the menu has handled the key: a submenu's Escape leaves its parent open.
    if (escape) QTimer::singleShot(0, this, [this] { giveKeysBack(); });
    return QObject::eventFilter(watched, event);
  }

 private:
  void giveKeysBack() {
    if (bar_ == nullptr || QApplication::activePopupWidget() != nullptr) return;
    if (QApplication::focusWidget() != bar_) return;
    // Losing the focus ends the bar's keyboard mode and its highlighted title.
    if (QWidget* client = client_()) client->setFocus(Qt::OtherFocusReason);
  }

  QPointer<QMenuBar> bar_;
  std::function<QWidget*()> client_;
};

}  // namespace

void GiveKeysBackOnEscape(QMenuBar* bar, std::function<QWidget*()> client) {
  if (bar == nullptr) return;
  auto* watcher = new EscapeWatcher(bar, std::move(client));
  for (QMenu* menu : bar->findChildren<QMenu*>()) menu->installEventFilter(watcher);
}

}  // namespace korvanth::platform
