// The block map's text: read line by line and checked as it goes, and written back.
#include "convert/block_map.h"

#include <charconv>
#include <map>
#include <utility>

#include "convert/format_registry.h"
#include "convert/text_file.h"
#include "convert/tileset_description.h"
#include "convert/utf8_path.h"

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
  Phrase Read(const std::vector<std::string_view>& words, std::size_t line);
  Phrase ReadTileSize(const std::vector<std::string_view>& words, std::size_t line);
  Phrase ReadBlock(const std::vector<std::string_view>& words, std::size_t line);
};

Phrase Reading::Read(const std::vector<std::string_view>& words, std::size_t line) {
  if (words.empty()) return {};
  if (words.front() == kTileSizeWord) return ReadTileSize(words, line);
  return ReadBlock(words, line);
}

Phrase Reading::ReadTileSize(const std::vector<std::string_view>& words, std::size_t line) {
  if (tileSizeLine != 0) {
    const Phrase first = MapLineName(tileSizeLine);
    return {"tile-sizeが2回書かれています（最初は" + first.japanese + "）",
            "tile-size is given twice (first on " + first.english + ")"};
  }
  if (!map.blocks.empty())
    return {"tile-sizeはブロックより前に書きます", "tile-size comes before the blocks"};
  std::int32_t size = 0;
  if (words.size() != 2 || !ParseInt(words[1], size) || !IsTileSize(size)) {
    const std::string least = std::to_string(kMinTileSize);
    const std::string most = std::to_string(kMaxTileSize);
    return {"tile-sizeには" + least + "から" + most + "までの偶数を書きます（例：tile-size 16）",
            "tile-size takes an even number from " + least + " to " + most + ", e.g. tile-size 16"};
  }
  map.tileSize = size;
  tileSizeLine = line;
  return {};
}

Phrase Reading::ReadBlock(const std::vector<std::string_view>& words, std::size_t line) {
  if (words.size() < 3 || words.size() > 4)
    return {"ブロックは COL,ROW FORMAT NAME [FRAMES] と書きます（例：0,0 terrain1 grass）",
            "a block is COL,ROW FORMAT NAME [FRAMES], e.g. 0,0 terrain1 grass"};
  MappedBlock block;
  block.line = line;
  if (!ParseCell(words[0], block.column, block.row)) {
    const std::string cell(words[0]);
    return {"セル「" + cell + "」は COL,ROW（0から2147483647までの整数2つ）ではありません",
            "the cell '" + cell + "' is not COL,ROW, two whole numbers from 0 to 2147483647"};
  }
  const FormatEntry* format = FormatEntryForCliName(words[1]);
  if (format == nullptr) {
    const std::string given(words[1]);
    return {"「" + given + "」という形式はありません（" + FormatList() + "）",
            "unknown format '" + given + "' (" + FormatList() + ")"};
  }
  block.format = format->format;
  block.name = std::string(words[2]);
  if (IsDeviceName(block.name))
    return {"名前「" + block.name +
                "」はWindowsの装置の名前（CON、PRN、AUX、NUL、COM1～COM9、LPT1～LPT9）なので、"
                "シートのファイル名にできません",
            "the name '" + block.name +
                "' is a Windows device's (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9), "
                "which a sheet's file name cannot be"};
  if (!IsBlockName(block.name))
    return {"名前「" + block.name + "」に、シートのファイル名に使えない文字（" +
                SpacedOut(kNotInFileNames) + "）のどれかが入っています",
            "the name '" + block.name + "' holds one of " + SpacedOut(kNotInFileNames) +
                ", which a sheet's file name cannot hold"};
  if (const auto given = names.find(block.name); given != names.end()) {
    const Phrase first = MapLineName(given->second);
    return {"名前「" + block.name + "」は" + first.japanese + "にもあります",
            "the name '" + block.name + "' is given on " + first.english + " too"};
  }
  if (words.size() == 4 && (!ParseInt(words[3], block.frames) || block.frames < 2)) {
    const std::string count(words[3]);
    return {"フレーム数「" + count + "」は2から2147483647までの整数ではありません",
            "the frame count '" + count + "' is not a whole number from 2 to 2147483647"};
  }
  if (const auto overlapped = cells.Take(CellsOf(block), map.blocks.size())) {
    const MappedBlock& other = map.blocks[*overlapped];
    const Phrase where = MapLineName(other.line);
    return {"このブロックは" + where.japanese + "の「" + other.name + "」と重なります",
            "the block overlaps '" + other.name + "' of " + where.english};
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
    if (FirstUnreadableLine(line) != 0) return {std::nullopt, UnreadableLineCause(number), number};
    if (const Phrase problem = reading.Read(WordsOf(line), number); !problem.empty())
      return {std::nullopt, OnMapLine(number, problem), number};
  }
  return {std::move(reading.map), {}, 0};
}

Phrase MapLineName(std::size_t line) {
  const std::string number = std::to_string(line);
  return {number + "行目", "line " + number};
}

Phrase OnMapLine(std::size_t line, const Phrase& problem) {
  if (line == 0) return problem;
  const Phrase name = MapLineName(line);
  return {name.japanese + "：" + problem.japanese, name.english + ": " + problem.english};
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
         name.find_first_of(kNotInFileNames) == std::string_view::npos && !IsDeviceName(name) &&
         IsTilesetSafeName(name);
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
