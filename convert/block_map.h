// A picture's block map: which blocks of a picture that mixes formats are which format, what
// each is called, and which runs of blocks are the frames of one animated terrain. It lives
// beside the picture as PICTURE.blocks, UTF-8 text read by the text rule of text_file.h:
//
//   # comments run from '#' to the line's end; blank lines are ignored
//   tile-size 16            (optional, before the blocks: the size the cells are counted in)
//   0,0 terrain1 grass      (COL,ROW FORMAT NAME [FRAMES], one block a line)
//   6,3 roof red-roof
//   0,6 terrain2 water 4    (4 terrain2 blocks side by side from 0,6: one animation)
//
// The map is checked whole when it is read: the first line with a problem is named. A map
// says nothing of a picture's size; whether its blocks lie inside the picture is the
// converter's question, at its tile size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/layout_format.h"
#include "imaging/ui_language.h"

namespace korvanth {

// A block map larger than this is refused unread: a line a block of the largest picture
// fits many times over.
inline constexpr std::size_t kMaxBlockMapBytes = std::size_t{1} << 20;

// One line of the map: a block, or a run of `frames` blocks of its format side by side.
struct MappedBlock {
  std::int32_t column = 0;  // the top-left cell, in cells of the tile size (0 to INT32_MAX)
  std::int32_t row = 0;
  LayoutFormat format = LayoutFormat::Terrain1;
  std::string name;         // IsBlockName
  std::int32_t frames = 1;  // 1: one block; N >= 2: N blocks along the row, one animation
  // The map line the block was read from, for messages; 0 for a block made otherwise. It
  // says where a block came from, not what it is: equality leaves it out.
  std::size_t line = 0;

  friend bool operator==(const MappedBlock& a, const MappedBlock& b) {
    return a.column == b.column && a.row == b.row && a.format == b.format && a.name == b.name &&
           a.frames == b.frames;
  }
};

struct BlockMap {
  std::optional<int> tileSize;      // the tile-size line (IsTileSize); none: the converter's
  std::vector<MappedBlock> blocks;  // in the map's order
  friend bool operator==(const BlockMap&, const BlockMap&) = default;
};

struct BlockMapParse {
  std::optional<BlockMap> map;  // empty when the text has a problem
  Phrase problem;               // "line 3: ..." for the first line with a problem
  std::size_t problemLine = 0;  // that line, counted from 1
  bool ok() const { return map.has_value(); }
};

// The map in `text` (a byte-order mark at its start skipped; '\n' or "\r\n" ends a line),
// or the first line's problem: a line that is not UTF-8 text without control characters, a
// misplaced, repeated or bad tile-size, a line that is not COL,ROW FORMAT NAME [FRAMES], a
// bad cell, an unknown format, a name IsBlockName refuses, a name given twice, frames below
// 2, or a block that overlaps one on an earlier line.
BlockMapParse ParseBlockMap(std::string_view text);

// "line 3" in both languages, and a problem said of that line ("line 3: ..."); a line of 0
// (a block made otherwise) leaves the problem as it is.
Phrase MapLineName(std::size_t line);
Phrase OnMapLine(std::size_t line, const Phrase& problem);

// The text of `map`, whose blocks have names IsBlockName allows: ParseBlockMap gives the same
// map back (lines aside) when its blocks do not overlap and no name is given twice.
std::string BlockMapText(const BlockMap& map);

// The map's file beside the picture: its whole file name and ".blocks" ("tiles.png.blocks").
std::string BlockMapPathFor(std::string_view picturePath);

// A block's name: one token of UTF-8 text, without spaces, '#' or control characters, and
// without the characters a file name cannot hold on some host (/ \ : * ? " < > |), for it
// also names the block's own sheet.
bool IsBlockName(std::string_view name);

// The cells a format's block covers, at any tile size: terrain1 2 x 3, terrain2 3 x 4, roof
// 2 x 2.
PixelSize BlockSizeInCells(LayoutFormat format);

// The cells a map line covers, all its frames together, in 64 bits (no sum overflows).
struct CellArea {
  std::int64_t column = 0;
  std::int64_t row = 0;
  std::int64_t columns = 0;
  std::int64_t rows = 0;
};
CellArea CellsOf(const MappedBlock& block);

}  // namespace korvanth
