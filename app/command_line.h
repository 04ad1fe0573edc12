// The window program's command line: korvanth [--lang ja|en] [--reset-settings] [PICTURE],
// or -h / --help / --version, which print and end the run. Options may come in any order
// before "--"; the first other argument names the picture (later ones are ignored), and an
// argument that starts with "--" and is no option is a usage error.
#pragma once

#include <optional>
#include <string>

#include "app/ui_text.h"

namespace korvanth {

inline constexpr char kResetSettingsOption[] = "--reset-settings";

struct WindowCommandLine {
  enum class Action { Run, Help, Version, UsageError };
  Action action = Action::Run;
  bool resetSettings = false;          // start from the defaults, whatever the file holds
  std::optional<UiLanguage> language;  // --lang: the window's language from this run on
  std::optional<std::string> picture;  // the picture to open at the first showing
  std::string problem;                 // what is wrong, for a usage error
};

// argv[0] is the program and never a picture.
WindowCommandLine ParseWindowCommandLine(int argc, const char* const* argv);

// What a run that does not open the window prints, and how it ends.
struct CommandLineAnswer {
  std::string out;  // for stdout
  std::string err;  // for stderr
  int exitCode = 0;
};

// The answer to Help (the usage, 0), Version (0) and UsageError (the problem, 2); none
// for Run.
std::optional<CommandLineAnswer> AnswerWithoutWindow(const WindowCommandLine& command);

// Prints the answer where the user who started the program sees it (each host's way).
void PrintAnswer(const CommandLineAnswer& answer);

}  // namespace korvanth
