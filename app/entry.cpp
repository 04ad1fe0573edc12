// The window program's entry.
#include <cstdlib>

#include "app/bundled_sample.h"
#include "app/icon_install.h"
#include "app/window_choices.h"
#include "app/window_procedure.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace korvanth;
  BeginRun(MainWindowState, __argc, __argv);
  MainWindowState.bundledSample = FindBundledSample(ProgramPath());
  InstallIconResource();
  CreateMainWindow(instance);
  return RunMessageLoop();
}
