// The converter's options: parsing, checking and the --help text.
#include "cli/options.h"

#include <cstdio>
#include <set>

#include "cli/block_map_choice.h"
#include "cli/option_table.h"
#include "convert/animation_runs.h"
#include "convert/atlas_layout.h"
#include "convert/format_registry.h"
#include "convert/output_plan.h"
#include "convert/sheet_conversion.h"
#include "imaging/file_types.h"

namespace korvanth {

namespace {

// What --atlas and --names do not go with; null when they fit.
const char* AtlasOptionError(const ConvertOptions& options, bool all, bool typeGiven) {
  if (!options.namesFile.empty() && !options.atlas) return "--names goes with --atlas";
  if (!options.atlas) return nullptr;
  if (!all) return "--atlas goes with --all";
  if (typeGiven) return "--atlas takes its file type from OUTPUT's extension, not --type";
  if (!options.terrainName.empty())
    return "--name names one terrain; with --atlas every block is named (see --names)";
  return nullptr;
}

// --help and --version print and end; with --watch before the end of the options they
// are a usage error rather than a silent choice between the two.
bool WatchIsGiven(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--") return false;
    if (argument == "--watch") return true;
  }
  return false;
}

// What --frames and --frame-ms do not go with; empty when they fit.
std::string FramesOptionError(const ConvertOptions& options) {
  // An atlas's block map may animate blocks: whether one does is known once it is read.
  if (options.frameMs && options.frames < 2 && !options.atlas)
    return "--frame-ms goes with --frames";
  if (options.frames < 2) return {};
  if (!options.atlas) return "--frames goes with --atlas";
  // A terrain's frames lie side by side in one row of the atlas.
  const int sheetWidth = SheetSize(options.layout()).width;
  if (options.frames > kMaxAtlasWidth / sheetWidth)
    return "--frames " + std::to_string(options.frames) + ": the frames' " +
           std::to_string(sheetWidth) + "-pixel sheets lie side by side in the atlas's " +
           std::to_string(kMaxAtlasWidth) + " pixels; at most " +
           std::to_string(kMaxAtlasWidth / sheetWidth) + " frames at this format and tile size";
  return {};
}

// Reads the options into `state` and the other arguments into `positional`; a result when
// the parsing ends there (a usage error, or -h, --help or --version).
std::optional<ParseResult> ReadOptions(const std::vector<std::string>& arguments, ParseState& state,
                                       std::vector<std::string>& positional) {
  bool optionsEnded = false;
  std::set<std::string> given;  // each option once: a second value would silently win
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
      positional.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    const Option* option = OptionNamed(argument);
    if (option != nullptr && option->apply == nullptr) {
      if (WatchIsGiven(arguments))
        return ParseResult{std::nullopt,
                           "--watch converts again and again; it takes no " + argument};
      state.options.mode =
          argument == "--version" ? ConvertOptions::Mode::Version : ConvertOptions::Mode::Help;
      return ParseResult{state.options, {}};
    }
    // "--name VALUE" or "--name=VALUE"; an option without a value takes no "=".
    std::string name = argument;
    std::string value;
    const auto equals = argument.find('=');
    if (equals != std::string::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
      option = OptionNamed(name);
    }
    if (option == nullptr || option->apply == nullptr ||
        (option->placeholder.empty() && equals != std::string::npos))
      return ParseResult{std::nullopt, "unknown option " + argument};
    if (!option->placeholder.empty() && equals == std::string::npos) {
      if (i + 1 >= arguments.size()) return ParseResult{std::nullopt, name + " needs a value"};
      value = arguments[++i];
    }
    if (!given.insert(name).second)
      return ParseResult{std::nullopt, name + " is given more than once"};
    if (std::string error = option->apply(value, state); !error.empty())
      return ParseResult{std::nullopt, std::move(error)};
  }
  return std::nullopt;
}

}  // namespace

std::string UsageText() {
  const std::string names = FormatNames("|");
  std::string text =
      "Usage:\n"
      "  korvanth-convert [--format " +
      names +
      "] [--origin X,Y | --cell COL,ROW]\n"
      "                   [--tile-size N] [--complete] [--tileset " +
      TilesetNames("|") +
      "] [--name NAME]\n"
      "                   [--watch] INPUT OUTPUT\n"
      "  korvanth-convert [--format " +
      names + "] --all [--type " + CanonicalExtensions("", "|") +
      "]\n"
      "                   [--blocks FILE] [--tile-size N] [--complete] [--name NAME]\n"
      "                   [--tileset " +
      TilesetNames("|") +
      "] [--jobs N] [--watch] INPUT OUTDIR\n"
      "  korvanth-convert [--format " +
      names +
      "] --all --atlas [--blocks FILE]\n"
      "                   [--names FILE] [--frames N [--frame-ms MS]] [--tile-size N]\n"
      "                   [--complete] [--tileset " +
      TilesetNames("|") +
      "] [--jobs N] [--watch]\n"
      "                   INPUT OUTPUT\n"
      "  korvanth-convert -h | --help | --version\n"
      "\n"
      "Cuts one block of a tile picture into 16 x 16 quarters and re-assembles them into a\n"
      "sheet of 32 x 32 tiles of the chosen layout format (other sizes: --tile-size).\n"
      "\n";
  for (const Option& option : OptionTable())
    if (option.help != nullptr) text += OptionHelpLines(option);
  text +=
      "\n"
      "OUTPUT's extension selects the file type: " +
      ExtensionSpellings() +
      "; any other\n"
      "extension writes BMP content under the given name, with a warning.\n"
      "Names must be valid UTF-8. A write failure names its cause.\n"
      "Exit status: 0 all written, 1 an input unreadable or an output not written, 2 usage.\n"
      "\n"
      "Tilesets (keep each beside its sheet):\n";
  for (const TilesetTarget& target : kTilesetTargets) text += HowToUse(target);
  return text;
}

ParseResult ParseArguments(const std::vector<std::string>& arguments) {
  ParseState state;
  std::vector<std::string> positional;
  if (std::optional<ParseResult> ended = ReadOptions(arguments, state, positional)) return *ended;
  ConvertOptions& options = state.options;
  const bool all = state.all;
  const bool typeGiven = state.typeGiven;
  const std::string& tilesetValue = state.tilesetValue;

  if (options.origin && options.cell)
    return {std::nullopt, "--origin and --cell exclude each other"};
  if (all && (options.origin || options.cell)) {
    return {std::nullopt, "--all converts every block; it takes no --origin or --cell"};
  }
  // Every pixel of the block needs a 32-bit position; a corner beyond names no block.
  if (options.origin &&
      !BlockFitsPositions(*options.origin, SelectionBlockSize(options.layout()))) {
    return {std::nullopt, "--origin puts the block beyond the largest pixel position"};
  }
  if (!all && typeGiven) return {std::nullopt, "--type goes with --all"};
  if (!options.terrainName.empty() && options.tilesets == kNoTilesets)
    return {std::nullopt, "--name names the tilesets' terrain; it goes with --tileset"};
  if (!all && options.jobs) return {std::nullopt, "--jobs goes with --all"};
  if (!options.blocksFile.empty()) {
    if (!all) return {std::nullopt, "--blocks goes with --all"};
    if (std::string error = BlockMapOptionError(options); !error.empty())
      return {std::nullopt, std::move(error)};
  }
  if (const char* error = AtlasOptionError(options, all, typeGiven)) return {std::nullopt, error};
  if (std::string error = FramesOptionError(options); !error.empty())
    return {std::nullopt, std::move(error)};
  if (positional.size() != 2) {
    return {std::nullopt,
            positional.size() < 2 ? "INPUT and OUTPUT are needed" : "too many arguments"};
  }
  options.mode = all ? ConvertOptions::Mode::Batch : ConvertOptions::Mode::Single;
  options.input = positional[0];
  options.output = positional[1];
  if (all && !options.atlas && options.output.empty())
    return {std::nullopt, "OUTDIR is empty; name a folder (. for the current one)"};
  // A tileset is of no use when its editor cannot load the sheet beside it; a batch's
  // sheets take --type's extension.
  const std::string sheet = all && !options.atlas ? "sheet." + options.batchType : options.output;
  for (const PlannedTileset& tileset : PlanOutput({true, sheet, options.tilesets}).tilesets)
    if (tileset.cannotImport)
      return {std::nullopt, "--tileset " + tilesetValue + ": " + tileset.refusal.english};
  return {options, {}};
}

}  // namespace korvanth
