// The window program's entry.
#include <cstdlib>

#include "app/icon_install.h"
#include "app/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace korvanth;
  ArgumentCount = __argc;
  ArgumentVector = __argv;
  InstallIconResource();
  CreateMainWindow(instance);
  return RunMessageLoop();
}
