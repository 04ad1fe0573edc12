// The block map's text: read line by line and checked as it goes, and written back.
#include "convert/block_map.h"

#include <charconv>
#include <map>
#include <utility>

#include "convert/format_registry.h"
#include "convert/text_file.h"
#include "convert/tileset_description.h"

namespace korvanth {

namespace {

constexpr std::string_view kTileSizeWord = "tile-size";
// Characters some host's file names cannot hold.
constexpr std::string_view kNotInFileNames = "/\\:*?\"<>|";

// The words of a line up to its comment, split at spaces.
std::vector<std::string_view> WordsOf(std::string_view line) {
  line = line.substr(0, line.find('#'));
  std::vector<std::string_view> words;
  while (!line.empty()) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    line.remove_prefix(start);
    const std::size_t end = line.find(' ');
    words.push_back(line.substr(0, end));
    line.remove_prefix(end == std::string_view::npos ? line.size() : end);
  }
  return words;
}

bool ParseInt(std::string_view text, std::int32_t& value) {
  if (text.empty() || text.front() == '-') return false;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

bool ParseCell(std::string_view text, std::int32_t& column, std::int32_t& row) {
  const std::size_t comma = text.find(',');
  return comma != std::string_view::npos && ParseInt(text.substr(0, comma), column) &&
         ParseInt(text.substr(comma + 1), row);
}

std::string FormatList() {
  std::string names;
  for (const FormatEntry& entry : FormatRegistry()) {
    if (!names.empty()) names += ", ";
    names += entry.cliName;
  }
  return names;
}

// "a b c" for "abc".
std::string SpacedOut(std::string_view characters) {
  std::string text;
  for (const char c : characters) {
    if (!text.empty()) text += ' ';
    text += c;
  }
  return text;
}

std::string LineName(std::size_t line) { return "line " + std::to_string(line); }

// The cells taken so far, row by row: in each row the blocks' spans, which never overlap,
// by their first column. A new block overlaps an earlier one exactly when, in one of its
// rows, the span starting last before its end reaches past its start.
class CellSpans {
 public:
  // The earlier block `area` overlaps (its index), or none; none also adds it as `block`.
  std::optional<std::size_t> Take(const CellArea& area, std::size_t block) {
    std::optional<std::size_t> overlapped;
    for (std::int64_t row = area.row; row < area.row + area.rows; ++row) {
      const Spans& spans = rows_[row];
      auto after = spans.lower_bound(area.column + area.columns);
      if (after == spans.begin()) continue;
      const Span& before = std::prev(after)->second;
      if (before.end > area.column && (!overlapped || before.block < *overlapped))
        overlapped = before.block;
    }
    if (overlapped) return overlapped;
    for (std::int64_t row = area.row; row < area.row + area.rows; ++row)
      rows_[row].emplace(area.column, Span{area.column + area.columns, block});
    return std::nullopt;
  }

 private:
  struct Span {
    std::int64_t end;
    std::size_t block;
  };
  using Spans = std::map<std::int64_t, Span>;  // by first column
  std::map<std::int64_t, Spans> rows_;
};

// What is read so far, and the first problem.
struct Reading {
  BlockMap map;
  std::size_t tileSizeLine = 0;
  std::map<std::string, std::size_t, std::less<>> names;  // name -> its line
  CellSpans cells;

  // The problem of one line, empty when it is a good one (then it is taken into the map).
  std::string Read(const std::vector<std::string_view>& words, std::size_t line);
  std::string ReadTileSize(const std::vector<std::string_view>& words, std::size_t line);
  std::string ReadBlock(const std::vector<std::string_view>& words, std::size_t line);
};

std::string Reading::Read(const std::vector<std::string_view>& words, std::size_t line) {
  if (words.empty()) return {};
  if (words.front() == kTileSizeWord) return ReadTileSize(words, line);
  return ReadBlock(words, line);
}

std::string Reading::ReadTileSize(const std::vector<std::string_view>& words, std::size_t line) {
  if (tileSizeLine != 0)
    return "tile-size is given twice (first on " + LineName(tileSizeLine) + ")";
  if (!map.blocks.empty()) return "tile-size comes before the blocks";
  std::int32_t size = 0;
  if (words.size() != 2 || !ParseInt(words[1], size) || !IsTileSize(size))
    return "tile-size takes an even number from " + std::to_string(kMinTileSize) + " to " +
           std::to_string(kMaxTileSize) + ", e.g. tile-size 16";
  map.tileSize = size;
  tileSizeLine = line;
  return {};
}

std::string Reading::ReadBlock(const std::vector<std::string_view>& words, std::size_t line) {
  if (words.size() < 3 || words.size() > 4)
    return "a block is COL,ROW FORMAT NAME [FRAMES], e.g. 0,0 terrain1 grass";
  MappedBlock block;
  block.line = line;
  if (!ParseCell(words[0], block.column, block.row))
    return "the cell '" + std::string(words[0]) +
           "' is not COL,ROW, two whole numbers from 0 to 2147483647";
  const FormatEntry* format = FormatEntryForCliName(words[1]);
  if (format == nullptr)
    return "unknown format '" + std::string(words[1]) + "' (" + FormatList() + ")";
  block.format = format->format;
  block.name = std::string(words[2]);
  if (!IsBlockName(block.name))
    return "the name '" + block.name + "' holds one of " + SpacedOut(kNotInFileNames) +
           ", which a sheet's file name cannot hold";
  if (const auto given = names.find(block.name); given != names.end())
    return "the name '" + block.name + "' is given on " + LineName(given->second) + " too";
  if (words.size() == 4 && (!ParseInt(words[3], block.frames) || block.frames < 2))
    return "the frame count '" + std::string(words[3]) +
           "' is not a whole number from 2 to 2147483647";
  if (const auto overlapped = cells.Take(CellsOf(block), map.blocks.size())) {
    const MappedBlock& other = map.blocks[*overlapped];
    return "the block overlaps '" + other.name + "' of " + LineName(other.line);
  }
  names.emplace(block.name, line);
  map.blocks.push_back(std::move(block));
  return {};
}

}  // namespace

BlockMapParse ParseBlockMap(std::string_view text) {
  text = WithoutByteOrderMark(text);
  Reading reading;
  std::size_t number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // The text rule line by line, so that the first problem is the first line's.
    if (FirstUnreadableLine(line) != 0) return {std::nullopt, UnreadableLineText(number), number};
    if (std::string problem = reading.Read(WordsOf(line), number); !problem.empty())
      return {std::nullopt, LineName(number) + ": " + problem, number};
  }
  return {std::move(reading.map), {}, 0};
}

std::string BlockMapText(const BlockMap& map) {
  std::string text =
      "# COL,ROW FORMAT NAME [FRAMES]: each block's top-left cell, its format, "
      "its name and, for an animation, its frames\n";
  // Appended piece by piece (GCC 12 takes "x" + string at -O3 for an overlapping copy).
  if (map.tileSize)
    text.append(kTileSizeWord).append(" ").append(std::to_string(*map.tileSize)).append("\n");
  for (const MappedBlock& block : map.blocks) {
    text.append(std::to_string(block.column)).append(",").append(std::to_string(block.row));
    text.append(" ").append(FormatEntryFor(block.format).cliName);
    text.append(" ").append(block.name);
    if (block.frames > 1) text.append(" ").append(std::to_string(block.frames));
    text.append("\n");
  }
  return text;
}

std::string BlockMapPathFor(std::string_view picturePath) {
  return std::string(picturePath) + ".blocks";
}

bool IsBlockName(std::string_view name) {
  return !name.empty() && name.find_first_of(" #") == std::string_view::npos &&
         name.find_first_of(kNotInFileNames) == std::string_view::npos && IsTilesetSafeName(name);
}

PixelSize BlockSizeInCells(LayoutFormat format) {
  const PixelSize block = FormatEntryFor(format).block;
  return {block.width / kTileSize, block.height / kTileSize};
}

CellArea CellsOf(const MappedBlock& block) {
  const PixelSize cells = BlockSizeInCells(block.format);
  return {block.column, block.row, std::int64_t{cells.width} * block.frames, cells.height};
}

}  // namespace korvanth
