// The window program's entry.
#include <cstdlib>

#include "app/icon_install.h"
#include "app/main_window.h"
#include "app/menu_install.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace korvanth;
  ArgumentCount = __argc;
  ArgumentVector = __argv;
  InstallMenuResource();
  InstallIconResource();
  CreateMainWindow(instance);
  return RunMessageLoop();
}
