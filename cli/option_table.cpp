// The converter's options as one table: each one's name, value, help lines and how it applies.
#include "cli/option_table.h"

#include <charconv>
#include <cstdio>
#include <type_traits>
#include <utility>

#include "convert/animation_runs.h"
#include "convert/atlas_layout.h"
#include "convert/format_registry.h"
#include "convert/sheet_conversion.h"
#include "imaging/file_types.h"

namespace korvanth {

namespace {

std::string FormatLine(const FormatEntry& entry) {
  char line[160];
  const std::string block =
      std::to_string(entry.block.width) + " x " + std::to_string(entry.block.height) + " block";
  std::snprintf(line, sizeof line, "  %-9s %-15s -> %d x %d sheet, %zu tiles\n",
                std::string(entry.cliName).c_str(), block.c_str(), entry.sheet.width,
                entry.sheet.height, entry.table.size());
  return line;
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

// A batch names its files by the canonical extension only, in lower case.
bool IsBatchType(const std::string& type) {
  for (const FileType& known : FileTypes())
    if (type == known.extensions[0]) return true;
  return false;
}

std::string ApplyFormat(const std::string& value, ParseState& state) {
  const FormatEntry* entry = FormatEntryForCliName(value);
  if (entry == nullptr) return "unknown format '" + value + "' (" + FormatNames(", ") + ")";
  state.options.format = entry->format;
  return {};
}

std::string ApplyOrigin(const std::string& value, ParseState& state) {
  int x = 0;
  int y = 0;
  if (!ParsePair(value, x, y))
    return "--origin takes X,Y, two whole numbers from -2147483648 to 2147483647, e.g. "
           "--origin 64,32";
  SelectionPoint origin;
  origin.x = x;
  origin.y = y;
  state.options.origin = origin;
  return {};
}

std::string ApplyCell(const std::string& value, ParseState& state) {
  CellPosition cell;
  if (!ParsePair(value, cell.column, cell.row) || cell.column < 0 || cell.row < 0)
    return "--cell takes COL,ROW, two whole numbers from 0 to 2147483647";
  state.options.cell = cell;
  return {};
}

std::string ApplyTileSize(const std::string& value, ParseState& state) {
  state.options.tileSizeGiven = true;
  if (!ParseInt(value, state.options.tileSize) || !IsTileSize(state.options.tileSize))
    return "--tile-size takes an even number from " + std::to_string(kMinTileSize) + " to " +
           std::to_string(kMaxTileSize) + ", e.g. --tile-size 16";
  return {};
}

std::string ApplyType(const std::string& value, ParseState& state) {
  if (!IsBatchType(value))
    return "unknown type '" + value + "' (" + CanonicalExtensions("", ", ") + ")";
  state.options.batchType = value;
  state.typeGiven = true;
  return {};
}

std::string ApplyJobs(const std::string& value, ParseState& state) {
  int jobs = 0;
  if (!ParseInt(value, jobs) || jobs < 1)
    return "--jobs takes a whole number from 1 to 2147483647, e.g. --jobs 2";
  state.options.jobs = jobs;
  return {};
}

std::string ApplyNames(const std::string& value, ParseState& state) {
  if (value.empty()) return "--names takes a file of names, one a line";
  state.options.namesFile = value;
  return {};
}

std::string ApplyBlocks(const std::string& value, ParseState& state) {
  if (value.empty()) return "--blocks takes a block map file";
  state.options.blocksFile = value;
  return {};
}

std::string ApplyFrames(const std::string& value, ParseState& state) {
  if (!ParseInt(value, state.options.frames) || state.options.frames < 2)
    return "--frames takes a whole number of frames from 2, e.g. --frames 4";
  return {};
}

std::string ApplyFrameMs(const std::string& value, ParseState& state) {
  int ms = 0;
  if (!ParseInt(value, ms) || ms < 1 || ms > kMaxFrameMs)
    return "--frame-ms takes milliseconds from 1 to " + std::to_string(kMaxFrameMs) +
           ", e.g. --frame-ms 150";
  state.options.frameMs = ms;
  return {};
}

std::string ApplyTileset(const std::string& value, ParseState& state) {
  state.options.tilesets = TilesetKindsFromName(value);
  state.tilesetValue = value;
  if (state.options.tilesets == kNoTilesets)
    return "unknown tileset '" + value + "' (" + TilesetNames(", ") + ")";
  return {};
}

std::string ApplyName(const std::string& value, ParseState& state) {
  if (value.empty() || !IsTilesetSafeName(value))
    return "--name takes a terrain name of UTF-8 text without control characters";
  state.options.terrainName = value;
  return {};
}

// An option without a value: turns its flag on.
template <auto Flag>
std::string TurnOn(const std::string&, ParseState& state) {
  if constexpr (std::is_same_v<decltype(Flag), bool ParseState::*>)
    state.*Flag = true;
  else
    state.options.*Flag = true;
  return {};
}

// In the help's order. A help text's "{mark}"s are filled in by HelpMarks.
constexpr Option kOptions[] = {
    {"--format", "NAME",
     "layout format (default {default-format}; with a block map, each block's\n"
     "own):\n{format-lines}",
     ApplyFormat},
    {"--origin", "X,Y", "the block's top-left corner in picture pixels (default 0,0)\n",
     ApplyOrigin},
    {"--cell", "COL,ROW", "the block on a cell of the tile size, pulled back inside the picture\n",
     ApplyCell},
    {"--tile-size", "N",
     "tiles of N x N pixels, quarters of N/2: any even N from {min-tile} to {max-tile}\n"
     "(default {tile}, or a block map's tile-size); the block and the sheet\n"
     "scale by N/{tile}\n",
     ApplyTileSize},
    {"--complete", "",
     "for terrain1 and terrain2, append the tiles of every terrain shape\n"
     "the layout lacks (47 shapes in all), built from the block's own\n"
     "quarters, after the layout's tiles\n",
     TurnOn<&ConvertOptions::complete>},
    {"--all", "",
     "one sheet for every whole block, named STEM_COLUMN_ROW.TYPE; with a\n"
     "block map, one for every block of the map, named NAME.TYPE (an\n"
     "animation's frames NAME_0.TYPE, NAME_1.TYPE, ...)\n",
     TurnOn<&ParseState::all>},
    {"--blocks", "FILE",
     "with --all: the block map, INPUT.blocks when not given (used when it\n"
     "is there); a line a block: COL,ROW FORMAT NAME [FRAMES], its top-left\n"
     "cell, its format, its name and, for an animation, its frames\n",
     ApplyBlocks},
    {"--type", "TYPE", "file type of the sheets of --all (default {default-type})\n", ApplyType},
    {"--jobs", "N", "sheets of --all written at once (default: the number of cores)\n", ApplyJobs},
    {"--atlas", "",
     "with --all: every block's sheet into the one picture OUTPUT, its\n"
     "tilesets beside it with one terrain a block; blocks that show\n"
     "nothing are skipped. Sheets go left to right, as many to a row as\n"
     "fit in {atlas-width} pixels, rows top to bottom, in row-major block order;\n"
     "with a block map, in map order, each format and frame count in rows\n"
     "of its own, under those of the formats the map names before it\n",
     TurnOn<&ConvertOptions::atlas>},
    {"--names", "FILE",
     "with --atlas, without a block map: the terrains' names, one a line\n"
     "in row-major block order (every block counts, skipped ones too); an\n"
     "empty line keeps STEM_COLUMN_ROW. A name given twice is an error\n",
     ApplyNames},
    {"--frames", "N",
     "with --atlas, without a block map: each N blocks along a row, from\n"
     "its left, are the frames of one animated terrain, named by its\n"
     "first block; a row's blocks up to its last one that is not empty\n"
     "make whole runs\n",
     ApplyFrames},
    {"--frame-ms", "MS",
     "how long each frame of --frames or a block map shows, 1 to\n"
     "{max-frame-ms} milliseconds (default {frame-ms})\n",
     ApplyFrameMs},
    {"--watch", "",
     "after converting, keep running and convert again whenever INPUT\n"
     "(or a file it reads: names, block map) is saved, with one line\n"
     "for each; Ctrl+C ends\n",
     TurnOn<&ConvertOptions::watch>},
    {"--tileset", "KIND",
     "also write a map editor's tileset beside every sheet, named after\n"
     "the sheet: {tileset-files} or {every-tileset}; for\n"
     "terrain1 and terrain2 every tile carries its terrain neighbours\n",
     ApplyTileset},
    {"--name", "NAME",
     "the tilesets' terrain name (default: the sheet's name); its colour\n"
     "is the mean colour of the full terrain tile\n",
     ApplyName},
    {"-h", "", nullptr, nullptr},
    {"--help", "", nullptr, nullptr},
    {"--version", "", nullptr, nullptr},
};

// The values of the help texts' marks: the tables' and limits' own.
std::string HelpMarks(std::string text) {
  std::string formatLines;
  for (const FormatEntry& entry : FormatRegistry()) formatLines += FormatLine(entry);
  const std::pair<std::string_view, std::string> marks[] = {
      {"{default-format}", std::string(FormatRegistry().front().cliName)},
      {"{format-lines}", formatLines},
      {"{min-tile}", std::to_string(kMinTileSize)},
      {"{max-tile}", std::to_string(kMaxTileSize)},
      {"{tile}", std::to_string(kTileSize)},
      {"{default-type}", std::string(FileTypes().front().extensions[0])},
      {"{atlas-width}", std::to_string(kMaxAtlasWidth)},
      {"{max-frame-ms}", std::to_string(kMaxFrameMs)},
      {"{frame-ms}", std::to_string(kDefaultFrameMs)},
      {"{tileset-files}", TilesetFiles()},
      {"{every-tileset}", std::string(kEveryTilesetName)},
  };
  for (const auto& [mark, value] : marks)
    for (auto at = text.find(mark); at != std::string::npos;
         at = text.find(mark, at + value.size()))
      text.replace(at, mark.size(), value);
  return text;
}

}  // namespace

std::span<const Option> OptionTable() { return kOptions; }

const Option* OptionNamed(std::string_view name) {
  for (const Option& option : kOptions)
    if (option.name == name) return &option;
  return nullptr;
}

std::string OptionHelpLines(const Option& option) {
  std::string named(option.name);
  if (!option.placeholder.empty()) named.append(" ").append(option.placeholder);
  const std::string help = HelpMarks(option.help);
  char line[32];
  std::snprintf(line, sizeof line, "  %-17s", named.c_str());
  std::string text = line;
  for (std::size_t start = 0; start < help.size();) {
    const std::size_t end = help.find('\n', start) + 1;
    if (start > 0) text += std::string(19, ' ');
    text.append(help, start, end - start);
    start = end;
  }
  return text;
}

std::string FormatNames(const char* separator) {
  std::string names;
  for (const FormatEntry& entry : FormatRegistry()) {
    if (!names.empty()) names += separator;
    names += entry.cliName;
  }
  return names;
}

std::string TilesetNames(const char* separator) {
  std::string names;
  for (const TilesetTarget& target : kTilesetTargets) {
    names += target.cliName;
    names += separator;
  }
  return names += kEveryTilesetName;
}

}  // namespace korvanth
