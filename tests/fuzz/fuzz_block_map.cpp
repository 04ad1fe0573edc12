// A block map over any bytes, read as the converter reads it (bounded, a regular file).
// Whatever the bytes, the map is refused naming a line that exists, or its tile size is
// one a run takes, its names are block names given once, its blocks do not overlap, it
// is the same behind a byte-order mark and its text written out reads back as the same
// map. Its blocks are then checked against a picture whose size follows from the input's
// length, as the converter checks them, and each frame of a block that fits lies inside.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "convert/block_map_file.h"
#include "convert/map_blocks.h"
#include "tests/fuzz/fuzz_input.h"

using namespace korvanth;

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "block map: %s\n", what);
  std::abort();
}

bool Overlap(const CellArea& a, const CellArea& b) {
  return a.column < b.column + b.columns && b.column < a.column + a.columns &&
         a.row < b.row + b.rows && b.row < a.row + a.rows;
}

std::size_t LineCount(const std::string& text) {
  std::size_t lines = 1;
  for (const char c : text) lines += c == '\n';
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::InputFile input(data, size);
  const BlockMapFile file = ReadBlockMapFile(input.path());
  if (!file.exists) Fail("an existing input read as missing");
  const std::string text(reinterpret_cast<const char*>(data), size);
  const BlockMapParse parsed = ParseBlockMap(text);
  if (file.map != parsed.map || file.problem != parsed.problem) Fail("the file reads otherwise");
  // A byte-order mark in front changes nothing.
  if (text.rfind("\xEF\xBB\xBF", 0) != 0) {
    const BlockMapParse marked = ParseBlockMap("\xEF\xBB\xBF" + text);
    if (marked.map != parsed.map || marked.problem != parsed.problem)
      Fail("a byte-order mark changed the map");
  }
  if (!parsed.ok()) {
    const std::string number = std::to_string(parsed.problemLine);
    if (parsed.problemLine == 0 || parsed.problemLine > LineCount(text) ||
        parsed.problem.english.rfind("line " + number, 0) != 0 ||
        parsed.problem.japanese.rfind(number + "行目", 0) != 0)
      Fail("a problem that names no line of the text");
    return 0;
  }
  const BlockMap& map = *parsed.map;
  if (map.tileSize && !IsTileSize(*map.tileSize)) Fail("a tile size no run takes");
  std::set<std::string> names;
  for (std::size_t i = 0; i < map.blocks.size(); ++i) {
    const MappedBlock& block = map.blocks[i];
    if (!IsBlockName(block.name) || !names.insert(block.name).second)
      Fail("a bad or repeated name");
    if (block.frames < 1 || block.column < 0 || block.row < 0) Fail("a bad frame count or cell");
    // Pairwise, for the few blocks a fuzz input holds.
    for (std::size_t j = 0; j < i && i < 512; ++j)
      if (Overlap(CellsOf(block), CellsOf(map.blocks[j]))) Fail("blocks overlap");
  }
  const BlockMapParse again = ParseBlockMap(BlockMapText(map));
  if (!again.ok() || *again.map != map) Fail("the written map reads back otherwise");

  const int tileSize = map.tileSize.value_or(8 + static_cast<int>(size % 61) * 2);
  const PixelSize picture{static_cast<int>(size % 4096), static_cast<int>(size / 4096 % 4096)};
  const SheetLayout layout{LayoutFormat::Terrain1, tileSize, size % 2 == 0};
  if (!FirstMapBlockProblem(map, picture, layout, false).empty()) return 0;
  for (const MappedBlock& block : map.blocks) {
    const PixelSize cells = BlockSizeInCells(block.format);
    for (int frame = 0; frame < block.frames; ++frame) {
      const SelectionPoint origin = MappedFrameOrigin(block, frame, tileSize);
      if (origin.x < 0 || origin.y < 0 ||
          std::int64_t{origin.x} + cells.width * tileSize > picture.width ||
          std::int64_t{origin.y} + cells.height * tileSize > picture.height)
        Fail("a block that fits reaches past the picture");
    }
  }
  return 0;
}
