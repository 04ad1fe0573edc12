// The window program's entry.
#include <cstdlib>

#include "app/bundled_sample.h"
#include "app/icon_install.h"
#include "app/main_window.h"
#include "app/window_state.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace korvanth;
  ArgumentCount = __argc;
  ArgumentVector = __argv;
  MainWindowState.bundledSample = FindBundledSample(ProgramPath());
  InstallIconResource();
  CreateMainWindow(instance);
  return RunMessageLoop();
}
