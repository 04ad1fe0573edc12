#include "cli/options.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <set>

#include "convert/animation_runs.h"
#include "convert/atlas_layout.h"
#include "convert/format_registry.h"
#include "convert/sheet_conversion.h"
#include "imaging/file_types.h"

namespace korvanth {

namespace {

// "terrain1|terrain2|roof" or "terrain1, terrain2, roof": the registry's names.
std::string FormatNames(const char* separator) {
  std::string names;
  for (const FormatEntry& entry : FormatRegistry()) {
    if (!names.empty()) names += separator;
    names += entry.cliName;
  }
  return names;
}

std::string FormatLine(const FormatEntry& entry) {
  char line[160];
  const std::string block =
      std::to_string(entry.block.width) + " x " + std::to_string(entry.block.height) + " block";
  std::snprintf(line, sizeof line, "                     %-9s %-15s -> %d x %d sheet, %zu tiles\n",
                std::string(entry.cliName).c_str(), block.c_str(), entry.sheet.width,
                entry.sheet.height, entry.table.size());
  return line;
}

// "tiled|godot|both", "tiled, godot, both": every target's name, then the one for all.
std::string TilesetNames(const char* separator) {
  std::string names;
  for (const TilesetTarget& target : kTilesetTargets) {
    names += target.cliName;
    names += separator;
  }
  return names += kEveryTilesetName;
}

// "tiled (NAME.tsx), godot (NAME.tres)": each target with the file it writes.
std::string TilesetFiles() {
  std::string files;
  for (const TilesetTarget& target : kTilesetTargets) {
    if (!files.empty()) files += ", ";
    files += target.cliName;
    files += " (NAME";
    files += target.extension;
    files += ')';
  }
  return files;
}

bool ParseInt(std::string_view text, int& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

bool ParsePair(const std::string& text, int& first, int& second) {
  const auto comma = text.find(',');
  if (comma == std::string::npos) return false;
  return ParseInt(std::string_view(text).substr(0, comma), first) &&
         ParseInt(std::string_view(text).substr(comma + 1), second);
}

bool IsValueOption(const std::string& name) {
  for (const char* option : {"--format", "--origin", "--cell", "--type", "--tileset", "--jobs",
                             "--tile-size", "--name", "--names", "--frames", "--frame-ms"}) {
    if (name == option) return true;
  }
  return false;
}

// A batch names its files by the canonical extension only, in lower case.
bool IsBatchType(const std::string& type) {
  for (const FileType& known : FileTypes())
    if (type == known.extensions[0]) return true;
  return false;
}

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
  if (options.frameMs && options.frames < 2) return "--frame-ms goes with --frames";
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
      "                   [--tile-size N] [--complete] [--tileset " +
      TilesetNames("|") +
      "] [--name NAME]\n"
      "                   [--jobs N] [--watch] INPUT OUTDIR\n"
      "  korvanth-convert [--format " +
      names +
      "] --all --atlas [--names FILE]\n"
      "                   [--frames N [--frame-ms MS]] [--tile-size N] [--complete]\n"
      "                   [--tileset " +
      TilesetNames("|") +
      "] [--jobs N] [--watch] INPUT OUTPUT\n"
      "  korvanth-convert -h | --help | --version\n"
      "\n"
      "Cuts one block of a tile picture into 16 x 16 quarters and re-assembles them into a\n"
      "sheet of 32 x 32 tiles of the chosen layout format (other sizes: --tile-size).\n"
      "\n"
      "  --format NAME    layout format (default " +
      std::string(FormatRegistry().front().cliName) + "):\n";
  for (const FormatEntry& entry : FormatRegistry()) text += FormatLine(entry);
  text +=
      "  --origin X,Y     the block's top-left corner in picture pixels (default 0,0)\n"
      "  --cell COL,ROW   the block on a cell of the tile size, pulled back inside the picture\n"
      "  --tile-size N    tiles of N x N pixels, quarters of N/2: any even N from " +
      std::to_string(kMinTileSize) + " to " + std::to_string(kMaxTileSize) +
      "\n"
      "                   (default " +
      std::to_string(kTileSize) + "); the block and the sheet scale by N/" +
      std::to_string(kTileSize) +
      "\n"
      "  --complete       for terrain1 and terrain2, append the tiles of every terrain shape\n"
      "                   the layout lacks (47 shapes in all), built from the block's own\n"
      "                   quarters, after the layout's tiles\n"
      "  --all            one sheet for every whole block, named STEM_COLUMN_ROW.TYPE\n"
      "  --type TYPE      file type of the sheets of --all (default " +
      std::string(FileTypes().front().extensions[0]) +
      ")\n"
      "  --jobs N         sheets of --all written at once (default: the number of cores)\n"
      "  --atlas          with --all: every block's sheet into the one picture OUTPUT, its\n"
      "                   tilesets beside it with one terrain a block; blocks that show\n"
      "                   nothing are skipped. Sheets go left to right, as many to a row as\n"
      "                   fit in " +
      std::to_string(kMaxAtlasWidth) +
      " pixels, rows top to bottom, in row-major block order\n"
      "  --names FILE     with --atlas: the terrains' names, one a line in row-major block\n"
      "                   order (every block counts, skipped ones too); an empty line keeps\n"
      "                   STEM_COLUMN_ROW. A name given twice is an error\n"
      "  --frames N       with --atlas: each N blocks along a row, from its left, are the\n"
      "                   frames of one animated terrain, named by its first block; a\n"
      "                   row's blocks up to its last one that is not empty make whole runs\n"
      "  --frame-ms MS    how long each frame shows, 1 to " +
      std::to_string(kMaxFrameMs) + " milliseconds (default " + std::to_string(kDefaultFrameMs) +
      ")\n"
      "  --watch          after converting, keep running and convert again whenever INPUT\n"
      "                   is saved, with one line for each; Ctrl+C ends\n"
      "  --tileset KIND   also write a map editor's tileset beside every sheet, named after\n"
      "                   the sheet: " +
      TilesetFiles() + " or " + std::string(kEveryTilesetName) +
      "; for\n"
      "                   terrain1 and terrain2 every tile carries its terrain neighbours\n"
      "  --name NAME      the tilesets' terrain name (default: the sheet's name); its colour\n"
      "                   is the mean colour of the full terrain tile\n"
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
  ConvertOptions options;
  std::vector<std::string> positional;
  bool all = false;
  bool typeGiven = false;
  bool optionsEnded = false;
  std::string tilesetValue;
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
    if (argument == "-h" || argument == "--help" || argument == "--version") {
      if (WatchIsGiven(arguments))
        return {std::nullopt, "--watch converts again and again; it takes no " + argument};
      options.mode =
          argument == "--version" ? ConvertOptions::Mode::Version : ConvertOptions::Mode::Help;
      return {options, {}};
    }
    if (argument == "--all" || argument == "--complete" || argument == "--atlas" ||
        argument == "--watch") {
      if (!given.insert(argument).second)
        return {std::nullopt, argument + " is given more than once"};
      bool& flag = argument == "--all"     ? all
                   : argument == "--atlas" ? options.atlas
                   : argument == "--watch" ? options.watch
                                           : options.complete;
      flag = true;
      continue;
    }

    // Options with a value: "--name VALUE" or "--name=VALUE".
    std::string name = argument;
    std::string value;
    const auto equals = argument.find('=');
    if (equals != std::string::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    } else if (IsValueOption(name)) {
      if (i + 1 >= arguments.size()) return {std::nullopt, name + " needs a value"};
      value = arguments[++i];
    } else {
      return {std::nullopt, "unknown option " + argument};
    }
    if (IsValueOption(name) && !given.insert(name).second)
      return {std::nullopt, name + " is given more than once"};

    if (name == "--format") {
      const FormatEntry* entry = FormatEntryForCliName(value);
      if (entry == nullptr)
        return {std::nullopt, "unknown format '" + value + "' (" + FormatNames(", ") + ")"};
      options.format = entry->format;
    } else if (name == "--origin") {
      SelectionPoint origin;
      int x = 0;
      int y = 0;
      if (!ParsePair(value, x, y))
        return {std::nullopt,
                "--origin takes X,Y, two whole numbers from -2147483648 to 2147483647, e.g. "
                "--origin 64,32"};
      origin.x = x;
      origin.y = y;
      options.origin = origin;
    } else if (name == "--cell") {
      CellPosition cell;
      if (!ParsePair(value, cell.column, cell.row) || cell.column < 0 || cell.row < 0) {
        return {std::nullopt, "--cell takes COL,ROW, two whole numbers from 0 to 2147483647"};
      }
      options.cell = cell;
    } else if (name == "--type") {
      if (!IsBatchType(value))
        return {std::nullopt,
                "unknown type '" + value + "' (" + CanonicalExtensions("", ", ") + ")"};
      options.batchType = value;
      typeGiven = true;
    } else if (name == "--tileset") {
      options.tilesets = TilesetKindsFromName(value);
      tilesetValue = value;
      if (options.tilesets == kNoTilesets)
        return {std::nullopt, "unknown tileset '" + value + "' (" + TilesetNames(", ") + ")"};
    } else if (name == "--tile-size") {
      if (!ParseInt(value, options.tileSize) || !IsTileSize(options.tileSize))
        return {std::nullopt, "--tile-size takes an even number from " +
                                  std::to_string(kMinTileSize) + " to " +
                                  std::to_string(kMaxTileSize) + ", e.g. --tile-size 16"};
    } else if (name == "--name") {
      if (value.empty() || !IsTilesetSafeName(value))
        return {std::nullopt,
                "--name takes a terrain name of UTF-8 text without control characters"};
      options.terrainName = value;
    } else if (name == "--names") {
      if (value.empty()) return {std::nullopt, "--names takes a file of names, one a line"};
      options.namesFile = value;
    } else if (name == "--frames") {
      if (!ParseInt(value, options.frames) || options.frames < 2)
        return {std::nullopt, "--frames takes a whole number of frames from 2, e.g. --frames 4"};
    } else if (name == "--frame-ms") {
      int ms = 0;
      if (!ParseInt(value, ms) || ms < 1 || ms > kMaxFrameMs)
        return {std::nullopt, "--frame-ms takes milliseconds from 1 to " +
                                  std::to_string(kMaxFrameMs) + ", e.g. --frame-ms 150"};
      options.frameMs = ms;
    } else if (name == "--jobs") {
      int jobs = 0;
      if (!ParseInt(value, jobs) || jobs < 1)
        return {std::nullopt, "--jobs takes a whole number from 1 to 2147483647, e.g. --jobs 2"};
      options.jobs = jobs;
    } else {
      return {std::nullopt, "unknown option " + argument};
    }
  }

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
  // A tileset is of no use when its editor cannot load the sheet beside it. The extension
  // is the file name's own (the view lives in `fileName`).
  const std::string fileName = FileNameOf(options.output);
  const std::optional<std::string_view> extension =
      all && !options.atlas ? std::optional<std::string_view>(options.batchType)
                            : ExtensionOf(fileName);
  if (extension) {
    const FileType& type = *ChooseEncoder(*extension).type;
    for (const TilesetTarget& target : kTilesetTargets) {
      if (!(options.tilesets & TilesetKindOf(target))) continue;
      if (std::string refusal = SheetTypeRefusal(target, type); !refusal.empty())
        return {std::nullopt, "--tileset " + tilesetValue + ": " + refusal};
    }
  }
  return {options, {}};
}

}  // namespace korvanth
