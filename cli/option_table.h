// The options of korvanth-convert, one row each: parsing and --help read this table
// alone (and through --help the manual page's test and the bash completion).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/options.h"

namespace korvanth {

// What parsing collects: the options, and what only the checks after it need.
struct ParseState {
  ConvertOptions options;
  bool all = false;
  bool typeGiven = false;
  std::string tilesetValue;
};

// One option of the command line.
struct Option {
  std::string_view name;         // "--format"
  std::string_view placeholder;  // the value in the help, "NAME"; empty: takes no value
  // The help's description: lines, the first beside the name; null: only in the usage.
  const char* help;
  // Takes the value (empty for an option without one) into the state; the usage error
  // when it cannot be meant, empty when accepted. Null: the option prints and ends the
  // parsing (-h, --help, --version).
  std::string (*apply)(const std::string& value, ParseState& state);
};

// In the help's order.
std::span<const Option> OptionTable();

// The option of that exact name; null for none.
const Option* OptionNamed(std::string_view name);

// "  --tile-size N    tiles of ...": the option and its value, then its description, the
// lines after the first under it.
std::string OptionHelpLines(const Option& option);

// "terrain1|terrain2|roof" or "terrain1, terrain2, roof": the format registry's names.
std::string FormatNames(const char* separator);

// "tiled|godot|both", "tiled, godot, both": every target's name, then the one for all.
std::string TilesetNames(const char* separator);

}  // namespace korvanth
