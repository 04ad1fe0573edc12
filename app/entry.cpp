// The window program's entry.
#include <cstdlib>

#include "app/bundled_sample.h"
#include "app/command_line.h"
#include "app/icon_install.h"
#include "app/window_choices.h"
#include "app/window_procedure.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace korvanth;
  const WindowCommandLine command = ParseWindowCommandLine(__argc, __argv);
  // --help, --version and a usage error print and end the run without a window.
  if (const auto answer = AnswerWithoutWindow(command)) {
    PrintAnswer(*answer);
    return answer->exitCode;
  }
  BeginRun(MainWindowState, command);
  MainWindowState.bundledSample = FindBundledSample(ProgramPath());
  InstallIconResource();
  if (CreateMainWindow(instance) == nullptr) {
    PrintAnswer({{}, "korvanth: the window could not be created\n", 1});
    return 1;
  }
  return RunMessageLoop();
}
