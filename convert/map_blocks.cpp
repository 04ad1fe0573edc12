// The map's blocks in pixels at a tile size, checked against the picture and the atlas width.
#include "convert/map_blocks.h"

#include <algorithm>
#include <map>

#include "convert/atlas_layout.h"
#include "convert/format_registry.h"

namespace korvanth {

namespace {

std::string LinePrefix(const MappedBlock& block) {
  return block.line == 0 ? std::string() : "line " + std::to_string(block.line) + ": ";
}

// The pixels of all the block's frames together, in 64 bits.
struct PixelArea {
  std::int64_t x, y, width, height;
};

PixelArea PixelsOf(const MappedBlock& block, int tileSize) {
  const CellArea cells = CellsOf(block);
  return {cells.column * tileSize, cells.row * tileSize, cells.columns * tileSize,
          cells.rows * tileSize};
}

}  // namespace

SelectionPoint MappedFrameOrigin(const MappedBlock& block, int frame, int tileSize) {
  const PixelSize cells = BlockSizeInCells(block.format);
  return {static_cast<std::int32_t>((std::int64_t{block.column} + frame * cells.width) * tileSize),
          static_cast<std::int32_t>(std::int64_t{block.row} * tileSize)};
}

std::string FirstMapBlockProblem(const BlockMap& map, PixelSize picture, SheetLayout layout,
                                 bool inAtlas) {
  const int size = layout.tileSize;
  for (const MappedBlock& block : map.blocks) {
    const PixelArea area = PixelsOf(block, size);
    if (area.x + area.width > picture.width || area.y + area.height > picture.height)
      return LinePrefix(block) + "the " + std::string(FormatEntryFor(block.format).cliName) +
             " block '" + block.name + "' at cell " + std::to_string(block.column) + "," +
             std::to_string(block.row) + " takes " + std::to_string(area.width) + " x " +
             std::to_string(area.height) + " pixels from " + std::to_string(area.x) + "," +
             std::to_string(area.y) + ", past the " + std::to_string(picture.width) + " x " +
             std::to_string(picture.height) + " picture";
    const int sheetWidth = SheetSize({block.format, size, layout.complete}).width;
    if (inAtlas && std::int64_t{sheetWidth} * block.frames > kMaxAtlasWidth)
      return LinePrefix(block) + std::to_string(block.frames) + " frames of " +
             std::to_string(sheetWidth) + "-pixel sheets pass the atlas's " +
             std::to_string(kMaxAtlasWidth) + " pixels side by side";
  }
  return {};
}

std::vector<MapSheet> MapSheets(const BlockMap& map) {
  std::vector<MapSheet> sheets;
  for (std::size_t i = 0; i < map.blocks.size(); ++i) {
    const MappedBlock& block = map.blocks[i];
    if (block.frames == 1) {
      sheets.push_back({i, 0, block.name});
      continue;
    }
    for (int frame = 0; frame < block.frames; ++frame)
      sheets.push_back({i, frame, block.name + "_" + std::to_string(frame)});
  }
  return sheets;
}

std::string SharedSheetFileProblem(const BlockMap& map, const std::vector<MapSheet>& sheets) {
  std::map<std::string, const MapSheet*> files;  // the stem in ASCII lower case -> its sheet
  for (const MapSheet& sheet : sheets) {
    std::string file = sheet.stem;
    std::transform(file.begin(), file.end(), file.begin(), [](char c) {
      return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    const auto [at, added] = files.emplace(std::move(file), &sheet);
    if (added) continue;
    return LinePrefix(map.blocks[sheet.block]) + "the sheet '" + sheet.stem +
           "' would share its file with '" + at->second->stem + "' of line " +
           std::to_string(map.blocks[at->second->block].line);
  }
  return {};
}

}  // namespace korvanth
