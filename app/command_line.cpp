// Parsing the window program's command line, and its help, version and usage errors.
#include "app/command_line.h"

#include <string_view>
#include <utility>

#include "app/language_codes.h"
#include "convert/utf8_path.h"
#include "korvanth_version.h"

namespace korvanth {

namespace {

constexpr int kExitUsage = 2;

constexpr char kUsage[] =
    "Usage: korvanth [--lang ja|en] [--reset-settings] [--] [PICTURE]\n"
    "       korvanth -h | --help | --version\n"
    "\n"
    "Opens PICTURE (PNG, BMP, GIF, JPEG or TIFF) in Korvanth's window, where a click on a\n"
    "block saves it as a tile sheet. Without PICTURE the window opens the picture that was\n"
    "open when it last closed, else the bundled sample.\n"
    "\n"
    "  --lang ja|en       the window's language: Japanese or English, as the Language\n"
    "                     menu chooses it, and remembered as that choice is\n"
    "  --reset-settings   start from the first start's choices, whatever the settings\n"
    "                     file holds\n"
    "  --                 ends the options: PICTURE follows, even if it starts with --\n"
    "  -h, --help         print this help and exit\n"
    "  --version          print the version and exit\n"
    "\n"
    "korvanth-convert converts from the command line (korvanth-convert --help).\n";

WindowCommandLine UsageError(std::string problem) {
  WindowCommandLine command;
  command.action = WindowCommandLine::Action::UsageError;
  command.problem = std::move(problem);
  return command;
}

}  // namespace

WindowCommandLine ParseWindowCommandLine(int argc, const char* const* argv) {
  WindowCommandLine command;
  bool optionsEnded = false;
  constexpr std::string_view kLang = "--lang";
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (optionsEnded || argument.substr(0, 2) != "--") {
      // -h is the one short option; any other argument is a picture's name.
      if (!optionsEnded && argument == "-h") {
        command.action = WindowCommandLine::Action::Help;
        return command;
      }
      if (!command.picture) command.picture = std::string(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help") {
      command.action = WindowCommandLine::Action::Help;
      return command;
    } else if (argument == "--version") {
      command.action = WindowCommandLine::Action::Version;
      return command;
    } else if (argument == kResetSettingsOption) {
      command.resetSettings = true;
    } else if (argument == kLang || argument.substr(0, kLang.size() + 1) == "--lang=") {
      std::string_view value;
      if (argument != kLang) {
        value = argument.substr(kLang.size() + 1);
      } else if (i + 1 < argc) {
        value = argv[++i];
      } else {
        return UsageError("--lang needs a value: ja or en");
      }
      command.language = LanguageOfCode(value);
      if (!command.language)
        return UsageError("--lang takes ja or en, not '" + std::string(value) + "'");
    } else {
      return UsageError("unknown option " + std::string(argument));
    }
  }
  return command;
}

std::optional<CommandLineAnswer> AnswerWithoutWindow(const WindowCommandLine& command) {
  switch (command.action) {
    case WindowCommandLine::Action::Run:
      return std::nullopt;
    case WindowCommandLine::Action::Help:
      return CommandLineAnswer{kUsage, {}, 0};
    case WindowCommandLine::Action::Version:
      return CommandLineAnswer{std::string("korvanth ") + KORVANTH_VERSION + "\n", {}, 0};
    case WindowCommandLine::Action::UsageError:
      // The problem may quote an argument: one line, control characters escaped.
      return CommandLineAnswer{
          {},
          "korvanth: " + PrintableName(command.problem) + "\nTry 'korvanth --help'.\n",
          kExitUsage};
  }
  return std::nullopt;
}

}  // namespace korvanth
