// The real main window for tests: reset state, created, driven by Qt events and closed.
#include "gui_support/main_window_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWheelEvent>

#include "app/window_procedure.h"
#include "app/picture_loading.h"
#include "app/window_choices.h"
#include "app/window_state.h"
#include "platform/dialogs_support.h"
#include "platform/linux/window_internals.h"
#include "viewer/canvas.h"
#include "viewer/scroll_state.h"
#include "viewer/view_colours.h"
#include "viewer/view_zoom.h"
#include "app/sheet_preview.h"

using namespace korvanth;

void ResetProgramState() {
  DestroySheetPreview(MainWindowState.preview);
  DestroySourceImage(MainWindowState.picture);
  MainWindowState = WindowState{};
}

void MainWindowFixture::SetUp() {
  ResetProgramState();
  window_ = CreateMainWindow(GetModuleHandleA(nullptr));
  ASSERT_NE(window_, nullptr);
  ASSERT_TRUE(IsWindow(window_));
  Settle();
}

void MainWindowFixture::TearDown() {
  if (window_ != nullptr && IsWindow(window_)) {
    EXPECT_EQ(CloseAndRunLoop(), 0);
  }
  korvanth::platform::FlushDestroyedWindows();
  ResetProgramState();
}

int MainWindowFixture::CloseAndRunLoop() {
  SendMessageA(window_, WM_CLOSE, 0, 0);
  const int code = RunMessageLoop();
  window_ = nullptr;
  return code;
}

void MainWindowFixture::Restart(const std::vector<std::string>& arguments,
                                const std::string& bundledSample) {
  StartAfresh(arguments, false, bundledSample);
}

void MainWindowFixture::StartAsProgram(const std::vector<std::string>& arguments) {
  StartAfresh(arguments, true, {});
}

void MainWindowFixture::StartAfresh(const std::vector<std::string>& arguments, bool asProgram,
                                    const std::string& bundledSample) {
  if (window_ != nullptr && IsWindow(window_)) {
    EXPECT_EQ(CloseAndRunLoop(), 0);
  }
  korvanth::platform::FlushDestroyedWindows();
  ResetProgramState();
  arguments_ = arguments;
  argumentPointers_.clear();
  for (std::string& argument : arguments_) argumentPointers_.push_back(argument.data());
  argumentPointers_.push_back(nullptr);
  const WindowCommandLine command =
      ParseWindowCommandLine(static_cast<int>(arguments_.size()), argumentPointers_.data());
  if (asProgram) {
    BeginRun(MainWindowState, command);
  } else {
    MainWindowState.argumentPicture = command.picture;
    if (command.language) MainWindowState.language = *command.language;
  }
  MainWindowState.bundledSample = bundledSample;
  window_ = CreateMainWindow(GetModuleHandleA(nullptr));
  ASSERT_NE(window_, nullptr);
  Settle();
}

QWidget* MainWindowFixture::client() const { return korvanth::platform::ClientWidgetOf(window_); }

std::string MainWindowFixture::SavePicture(const QImage& picture, const std::string& name) {
  const std::string path = dir_.file(name);
  EXPECT_TRUE(picture.save(QString::fromStdString(path), "PNG"));
  return path;
}

QImage MainWindowFixture::Solid(int width, int height, unsigned argb) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(argb);
  return image;
}

QString MainWindowFixture::Load(const std::string& path) {
  QString message;
  dialogs_test::UserScript answer;
  answer.when(dialogs_test::BoxShown, [&message] {
    message = dialogs_test::OpenBox()->text();
    dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
  });
  answer.start();
  LoadSourceImage(MainWindowState, window_, path.c_str());
  return message;
}

RECT MainWindowFixture::ClientRect() const {
  RECT rect{};
  GetClientRect(window_, &rect);
  return rect;
}

QImage MainWindowFixture::Paint() {
  return korvanth::platform::ClientPixels(window_).convertToFormat(QImage::Format_RGB32);
}

RECT MainWindowFixture::ViewRect() const {
  RECT view = ClientRect();
  RECT bar{};
  if (HWND status = MainWindowState.status.window;
      IsWindowVisible(status) && GetWindowRect(status, &bar))
    view.bottom -= bar.bottom - bar.top;
  return view;
}

void MainWindowFixture::MoveMouse(int x, int y) {
  // A move to where the pointer already is delivers no event: step next to it first.
  QTest::mouseMove(client(), QPoint(x + 1, y + 1));
  Settle(2);
  QTest::mouseMove(client(), QPoint(x, y));
  Settle(5);
}

void MainWindowFixture::ReleaseLeft(int x, int y) {
  QTest::mousePress(client(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
  QTest::mouseRelease(client(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
}

void MainWindowFixture::ResizeClient(int width, int height) {
  QWidget* top = client()->window();
  const RECT now = ClientRect();
  // The bars that show now take their room from the client area.
  const QScrollBar* horizontal = korvanth::platform::StandardScrollBar(window_, SB_HORZ);
  const QScrollBar* vertical = korvanth::platform::StandardScrollBar(window_, SB_VERT);
  const int barsWidth = vertical && vertical->isVisible() ? vertical->width() : 0;
  const int barsHeight = horizontal && horizontal->isVisible() ? horizontal->height() : 0;
  const RECT view = ViewRect();
  top->resize(top->width() + width - (now.right + barsWidth),
              top->height() + height - (view.bottom + barsHeight));
  Settle(50);
}

void MainWindowFixture::Scroll(UINT message, int code, int thumb) {
  SendMessageA(window_, message, MAKEWPARAM(code, thumb), 0);
}

void MainWindowFixture::CtrlWheel(int x, int y, int notches) {
  const QPointF at(x, y);
  QWheelEvent wheel(at, client()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(client(), &wheel);
  Settle(5);
}

void MainWindowFixture::CtrlKey(Qt::Key key, Qt::KeyboardModifiers extra) {
  QTest::keyClick(client(), key, Qt::ControlModifier | extra);
  Settle(5);
}

void MainWindowFixture::Command(UINT id) {
  QAction* action = korvanth::platform::MenuAction(window_, id);
  ASSERT_NE(action, nullptr) << id;
  action->trigger();
  Settle(5);
}

QMenuBar* MainWindowFixture::MenuBar() const {
  for (QMenuBar* bar : client()->window()->findChildren<QMenuBar*>())
    if (!bar->isHidden()) return bar;
  return nullptr;
}

void MainWindowFixture::ChooseMenuItems(int popup, const std::vector<const char*>& captions) {
  QMenuBar* bar = MenuBar();
  ASSERT_NE(bar, nullptr);
  QMenu* menu = bar->actions().value(popup)->menu();
  ASSERT_NE(menu, nullptr);
  menu->popup(client()->mapToGlobal(QPoint(10, 10)));
  for (const char* caption : captions) {
    ASSERT_NE(menu, nullptr) << caption;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu)) << caption;
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions())
      if (action->text() == QString::fromUtf8(caption)) chosen = action;
    ASSERT_NE(chosen, nullptr) << "no item " << caption;
    // Taken now: an item's command may replace the whole menu bar (the recent pictures).
    QMenu* const submenu = chosen->menu();
    if (submenu != nullptr) {
      // A submenu opens from the keyboard at once; a click opens it after a hover delay
      // that a loaded machine can stretch past the menu's own closing.
      menu->setActiveAction(chosen);
      QTest::keyClick(menu, Qt::Key_Right);
    } else {
      QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                        menu->actionGeometry(chosen).center());
    }
    Settle();
    menu = submenu;
  }
}

QImage MainWindowFixture::ClickAndSave(int x, int y, const std::string& name) {
  MoveMouse(x, y);
  ReleaseLeft(x, y);
  const QString path = QString::fromStdString(dir_.file(name));
  dialogs_test::UserScript script;
  script
      .when([] { return dialogs_test::OpenFileDialog() != nullptr; },
            [path] { dialogs_test::TypeName(path); })
      .when(dialogs_test::Always, [] { dialogs_test::ClickSave(); });
  script.start();
  ReleaseLeft(x, y);
  EXPECT_FALSE(script.timedOut());
  EXPECT_TRUE(script.finished());
  return ReadBack(dir_.file(name));
}

void MainWindowFixture::Settle(int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  do {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    // As the program's loop does: a replaced menu bar is gone before the next look for one.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  } while (timer.elapsed() < milliseconds);
}
