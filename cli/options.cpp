#include "cli/options.h"

#include <charconv>
#include <limits>

const char kUsageText[] =
    "Usage:\n"
    "  korvanth-convert [--format terrain1|terrain2|roof] [--origin X,Y | --cell COL,ROW]\n"
    "                   [--tileset tiled|godot|both] INPUT OUTPUT\n"
    "  korvanth-convert [--format terrain1|terrain2|roof] --all [--type png|bmp|gif|jpg|tif]\n"
    "                   [--tileset tiled|godot|both] INPUT OUTDIR\n"
    "  korvanth-convert -h | --help | --version\n"
    "\n"
    "Cuts one block of a tile picture into 16 x 16 quarters and re-assembles them into a\n"
    "sheet of 32 x 32 tiles of the chosen layout format.\n"
    "\n"
    "  --format NAME    layout format (default terrain1):\n"
    "                     terrain1  64 x 96 block  -> 128 x 320 sheet\n"
    "                     terrain2  96 x 128 block -> 128 x 384 sheet\n"
    "                     roof      64 x 64 block  -> 96 x 128 sheet\n"
    "  --origin X,Y     the block's top-left corner in picture pixels (default 0,0)\n"
    "  --cell COL,ROW   the block on a 32-pixel cell, pulled back inside the picture\n"
    "  --all            one sheet for every whole block, named STEM_COLUMN_ROW.TYPE\n"
    "  --type TYPE      file type of the sheets of --all (default png)\n"
    "  --tileset KIND   also write a map editor's tileset beside every sheet, named after\n"
    "                   the sheet: tiled (NAME.tsx), godot (NAME.tres) or both; for\n"
    "                   terrain1 and terrain2 every tile carries its terrain neighbours\n"
    "\n"
    "OUTPUT's extension selects the file type: bmp, gif, jpg/jpeg, png, tif/tiff; any other\n"
    "extension writes BMP content under the given name, with a warning.\n"
    "Exit status: 0 all written, 1 an input unreadable or an output not written, 2 usage.\n"
    "\n"
    "Tilesets (keep each beside its sheet):\n"
    "  Tiled: add NAME.tsx to the map (Map > Add External Tileset). The terrain formats\n"
    "    come with a terrain set named NAME: pick it in the Terrain Sets view and paint\n"
    "    with the terrain brush; the neighbouring tiles follow.\n"
    "  Godot 4: put NAME.png and NAME.tres in the project and use NAME.tres as the\n"
    "    TileSet of a TileMapLayer. In the TileMap panel's Terrains tab pick terrain set 0,\n"
    "    terrain NAME, and paint.\n";

namespace {

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

bool IsBatchType(const std::string& type) {
  for (const char* known : {"png", "bmp", "gif", "jpg", "tif"}) {
    if (type == known) return true;
  }
  return false;
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& arguments) {
  ConvertOptions options;
  std::vector<std::string> positional;
  bool all = false;
  bool typeGiven = false;
  bool optionsEnded = false;

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
    if (argument == "-h" || argument == "--help") {
      options.mode = ConvertOptions::Mode::Help;
      return {options, {}};
    }
    if (argument == "--version") {
      options.mode = ConvertOptions::Mode::Version;
      return {options, {}};
    }
    if (argument == "--all") {
      all = true;
      continue;
    }

    // Options with a value: "--name VALUE" or "--name=VALUE".
    std::string name = argument;
    std::string value;
    const auto equals = argument.find('=');
    if (equals != std::string::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    } else if (name == "--format" || name == "--origin" || name == "--cell" || name == "--type" ||
               name == "--tileset") {
      if (i + 1 >= arguments.size()) return {std::nullopt, name + " needs a value"};
      value = arguments[++i];
    } else {
      return {std::nullopt, "unknown option " + argument};
    }

    if (name == "--format") {
      const auto format = LayoutFormatFromName(value);
      if (!format)
        return {std::nullopt, "unknown format '" + value + "' (terrain1, terrain2, roof)"};
      options.format = *format;
    } else if (name == "--origin") {
      SelectionPoint origin;
      int x = 0;
      int y = 0;
      if (!ParsePair(value, x, y)) return {std::nullopt, "--origin takes X,Y, e.g. --origin 64,32"};
      origin.x = x;
      origin.y = y;
      options.origin = origin;
    } else if (name == "--cell") {
      CellPosition cell;
      if (!ParsePair(value, cell.column, cell.row) || cell.column < 0 || cell.row < 0 ||
          cell.column > std::numeric_limits<int>::max() / 32 ||
          cell.row > std::numeric_limits<int>::max() / 32) {
        return {std::nullopt, "--cell takes COL,ROW, two numbers of 0 or more"};
      }
      options.cell = cell;
    } else if (name == "--type") {
      if (!IsBatchType(value))
        return {std::nullopt, "unknown type '" + value + "' (png, bmp, gif, jpg, tif)"};
      options.batchType = value;
      typeGiven = true;
    } else if (name == "--tileset") {
      options.tilesets = korvanth::TilesetKindsFromName(value);
      if (options.tilesets == korvanth::kNoTilesets)
        return {std::nullopt, "unknown tileset '" + value + "' (tiled, godot, both)"};
    } else {
      return {std::nullopt, "unknown option " + argument};
    }
  }

  if (options.origin && options.cell)
    return {std::nullopt, "--origin and --cell exclude each other"};
  if (all && (options.origin || options.cell)) {
    return {std::nullopt, "--all converts every block; it takes no --origin or --cell"};
  }
  if (!all && typeGiven) return {std::nullopt, "--type goes with --all"};
  if (positional.size() != 2) {
    return {std::nullopt,
            positional.size() < 2 ? "INPUT and OUTPUT are needed" : "too many arguments"};
  }
  options.mode = all ? ConvertOptions::Mode::Batch : ConvertOptions::Mode::Single;
  options.input = positional[0];
  options.output = positional[1];
  return {options, {}};
}
