// The process entry off Windows: Qt first, then the program's WinMain as Windows
// would call it. Linked into the program only (korvanth_platform_main).
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <string>

#include "platform/linux/window_internals.h"
#include "platform/win32_api.h"

int main(int argc, char** argv) {
  // Without a display Qt would end the process before the program begins, and a run that
  // shows no window (--help) needs none: Qt then runs offscreen, where no window is made.
  const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") &&
                         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                         qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
  if (noDisplay) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    korvanth::platform::StartWithoutDisplay();
  }
  QApplication application(argc, argv);
  // The program ends through WM_QUIT, not when Qt sees its last window go.
  application.setQuitOnLastWindowClosed(false);
  // The window keeps its choices in a settings file of its own, which it reads and writes
  // itself. Qt's own dialogs would keep a history of theirs (last folder, custom colours)
  // in the user's configuration folder; give them a folder of this run's own, removed at
  // exit.
  QTemporaryDir settingsFolder;
  if (settingsFolder.isValid()) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
  }
  // QApplication has taken out its own options; the rest is the program's.
  __argc = argc;
  __argv = argv;
  static std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
