// Input and scripting helpers of the dialog tests.
#include "dialogs_support.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>

#include "platform/linux/dialogs_internal.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

QT_BEGIN_NAMESPACE
// The window-system entry points that Qt's own test library drives input through.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString& text, bool autorep, ushort count);
QT_END_NAMESPACE

namespace dialogs_test {

QFileDialog* OpenFileDialog() {
  QFileDialog* dialog = korvanth::platform::ActiveFileDialog();
  return dialog != nullptr && dialog->isVisible() ? dialog : nullptr;
}

QColorDialog* OpenColourDialog() {
  QColorDialog* dialog = korvanth::platform::ActiveColourDialog();
  return dialog != nullptr && dialog->isVisible() ? dialog : nullptr;
}

QMessageBox* OpenBox() {
  QMessageBox* box = korvanth::platform::ActiveMessageBox();
  return box != nullptr && box->isVisible() ? box : nullptr;
}

bool FileDialogShown() { return OpenFileDialog() != nullptr; }
QPushButton* AddCustomColourButton() {
  QColorDialog* dialog = OpenColourDialog();
  if (dialog == nullptr) return nullptr;
  const QString text = QCoreApplication::translate("QColorDialog", "&Add to Custom Colors");
  for (QPushButton* button : dialog->findChildren<QPushButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

bool ColourDialogShown() { return OpenColourDialog() != nullptr; }
bool BoxShown() { return OpenBox() != nullptr; }
bool Always() { return true; }

QLineEdit* NameField() {
  return OpenFileDialog()->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

QComboBox* TypeBox() {
  return OpenFileDialog()->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
}

void ChooseType(int index) {
  QComboBox* types = TypeBox();
  types->showPopup();
  // The list takes a release within a double-click interval of its opening for the end
  // of the click that opened it, so the pick waits that long, as a user's hand does.
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < QApplication::doubleClickInterval() + 50)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  QAbstractItemView* list = types->view();
  ClickAt(list->viewport(), list->visualRect(list->model()->index(index, 0)).center());
}

void TypeName(const QString& name) {
  QLineEdit* field = NameField();
  Focus(field);
  field->selectAll();
  TypeText(field, name);
}

void ClickSave() { Click(DialogButton(OpenFileDialog(), QDialogButtonBox::Save)); }
void ClickCancel() { Click(DialogButton(OpenFileDialog(), QDialogButtonBox::Cancel)); }
void PressEnter() { PressKey(NameField(), Qt::Key_Return); }

QMessageBox* OverwriteQuestion() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (box != nullptr && box->isVisible() && box->parentWidget() == OpenFileDialog()) return box;
  }
  return nullptr;
}

namespace {
int timestamp = 1000;

QWindow* WindowOf(QWidget* widget) {
  QWidget* top = widget->window();
  if (top->windowHandle() == nullptr) top->winId();
  return top->windowHandle();
}
}  // namespace

void ClickAt(QWidget* widget, QPoint pos) {
  QWindow* window = WindowOf(widget);
  const QPointF local = widget->mapTo(widget->window(), pos);
  const QPointF global = widget->mapToGlobal(QPointF(pos));
  qt_handleMouseEvent(window, local, global, Qt::LeftButton, Qt::LeftButton,
                      QEvent::MouseButtonPress, Qt::NoModifier, ++timestamp);
  qt_handleMouseEvent(window, local, global, Qt::NoButton, Qt::LeftButton,
                      QEvent::MouseButtonRelease, Qt::NoModifier, ++timestamp);
  QApplication::processEvents();
}

void MoveMouse(QWidget* widget, QPoint pos) {
  const QPointF local = widget->mapTo(widget->window(), pos);
  qt_handleMouseEvent(WindowOf(widget), local, widget->mapToGlobal(QPointF(pos)), Qt::NoButton,
                      Qt::NoButton, QEvent::MouseMove, Qt::NoModifier, ++timestamp);
  QApplication::processEvents();
}

void Click(QWidget* widget) { ClickAt(widget, widget->rect().center()); }

void WaitFor(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void Focus(QWidget* widget) {
  widget->window()->activateWindow();
  QApplication::processEvents();
  widget->setFocus(Qt::OtherFocusReason);
  QApplication::processEvents();
}

void PressKey(QWidget* widget, int key, const QString& text) {
  if (QApplication::focusWidget() != widget) Focus(widget);
  QWindow* window = WindowOf(widget);
  qt_handleKeyEvent(window, QEvent::KeyPress, key, Qt::NoModifier, text, false, 1);
  qt_handleKeyEvent(window, QEvent::KeyRelease, key, Qt::NoModifier, text, false, 1);
  QApplication::processEvents();
}

bool PressKeyWhereTheFocusIs(int key, const QString& text) {
  QWindow* window = QGuiApplication::focusWindow();
  if (window == nullptr) return false;
  qt_handleKeyEvent(window, QEvent::KeyPress, key, Qt::NoModifier, text, false, 1);
  qt_handleKeyEvent(window, QEvent::KeyRelease, key, Qt::NoModifier, text, false, 1);
  QApplication::processEvents();
  return true;
}

void TypeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    const int key = c.isLetterOrNumber() && c.unicode() < 0x80 ? c.toUpper().unicode() : 0;
    PressKey(widget, key, QString(c));
  }
}

QAbstractButton* DialogButton(QWidget* dialog, int standardButton) {
  if (auto* box = qobject_cast<QMessageBox*>(dialog))
    return box->button(static_cast<QMessageBox::StandardButton>(standardButton));
  auto* buttons = dialog->findChild<QDialogButtonBox*>();
  return buttons != nullptr
             ? buttons->button(static_cast<QDialogButtonBox::StandardButton>(standardButton))
             : nullptr;
}

UserScript::UserScript(int timeLimitMs) : timeLimitMs_(timeLimitMs) {
  timer_.setInterval(5);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
}

UserScript::~UserScript() { timer_.stop(); }

UserScript& UserScript::when(std::function<bool()> ready, std::function<void()> action) {
  steps_.push_back(Step{std::move(ready), std::move(action)});
  return *this;
}

void UserScript::start() {
  clock_.start();
  timer_.start();
}

void UserScript::tick() {
  if (clock_.elapsed() > timeLimitMs_) {
    // Past the limit: close whatever is still open, again on every tick, until the
    // test's call returns.
    timedOut_ = true;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
        dialog->reject();
    }
    return;
  }
  if (pending_ || next_ >= steps_.size()) return;
  // While an action runs (its input helpers spin the event loop), the next step waits,
  // unless that action is itself waiting in a new modal dialog's loop.
  if (!running_.empty() && QApplication::activeModalWidget() == running_.back()) return;
  if (!steps_[next_].ready()) return;
  std::function<void()> action = steps_[next_].action;
  ++next_;
  pending_ = true;
  QTimer::singleShot(0, this, [this, action] {
    pending_ = false;
    running_.push_back(QApplication::activeModalWidget());
    action();
    running_.pop_back();
  });
}

TestOwner::TestOwner() : widget_(new QWidget) {
  widget_->resize(300, 200);
  widget_->show();
}

TestOwner::~TestOwner() { delete widget_; }

void TestOwner::destroyWidget() {
  delete widget_;
  widget_ = nullptr;
}

LRESULT TestOwner::send(UINT message, WPARAM, LPARAM) {
  messages.push_back(message);
  return 0;
}

}  // namespace dialogs_test
