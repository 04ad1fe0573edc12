// The process entry off Windows: Qt first, then the program's WinMain as Windows
// would call it. Linked into the program only (korvanth_platform_main).
#include <QApplication>

#include <string>

#include "platform/win32_api.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The program ends through WM_QUIT, not when Qt sees its last window go.
  application.setQuitOnLastWindowClosed(false);
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
