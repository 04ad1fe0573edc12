// MessageBoxA over QMessageBox: modal to its owner, or, without one, a box that waits
// in its own event loop while every window stays usable.
#include <QEvent>
#include <QEventLoop>

#include "platform/linux/dialogs_internal.h"

namespace korvanth::platform {
namespace {

QMessageBox::Icon IconFor(UINT type) {
  switch (type & 0xF0) {
    case MB_ICONERROR:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONWARNING:
      return QMessageBox::Warning;
    case MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// The subset's two button sets: OK alone, or Yes and No (MB_YESNO).
bool AsksYesOrNo(UINT type) { return (type & 0x0F) == MB_YESNO; }

// What the box answers: the button clicked; a Yes/No box closed without one says No, as
// its Escape does.
int Answer(UINT type, QMessageBox::StandardButton clicked) {
  if (!AsksYesOrNo(type)) return IDOK;
  return clicked == QMessageBox::Yes ? IDYES : IDNO;
}

// Ends the box's own loop however the box goes away: dismissed, hidden or destroyed.
class BoxWatcher : public QObject {
 public:
  BoxWatcher(QMessageBox* box, QEventLoop* loop) : loop_(loop) {
    box->installEventFilter(this);
    connect(box, &QDialog::finished, loop, &QEventLoop::quit);
    connect(box, &QObject::destroyed, loop, &QEventLoop::quit);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide) loop_->quit();
    return QObject::eventFilter(watched, event);
  }

 private:
  QEventLoop* loop_;
};

void WaitUntilDismissed(QMessageBox* box) {
  QEventLoop loop;
  BoxWatcher watcher(box, &loop);
  box->setWindowModality(Qt::NonModal);
  box->show();
  if (box->isVisible()) loop.exec();
}

}  // namespace
}  // namespace korvanth::platform

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  using namespace korvanth::platform;
  QWidget* ownerWidget = OwnerWidget(owner);
  UseDialogLanguage();
  QPointer<QMessageBox> box = new QMessageBox(ownerWidget);
  box->setIcon(IconFor(type));
  // Windows shows the text as it is; never let markup in it be rendered.
  box->setTextFormat(Qt::PlainText);
  box->setText(text != nullptr ? QString::fromUtf8(text) : QString());
  // A null caption gets the system's default; an empty one stays empty.
  box->setWindowTitle(caption != nullptr ? QString::fromUtf8(caption) : QStringLiteral("Error"));
  if (AsksYesOrNo(type)) {
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton((type & MB_DEFBUTTON2) ? QMessageBox::No : QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
  } else {
    box->setStandardButtons(QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
  }
  QMessageBox::StandardButton clicked = QMessageBox::NoButton;
  {
    ActiveDialogScope<QMessageBox> active(ActiveMessageBoxSlot(), box);
    if (ownerWidget != nullptr) {
      RunModal(box, owner);
    } else {
      WaitUntilDismissed(box);
    }
    if (box != nullptr && box->clickedButton() != nullptr)
      clicked = box->standardButton(box->clickedButton());
  }
  delete box.data();
  if (ownerWidget != nullptr) ReturnFocusTo(owner);
  return Answer(type, clicked);
}
