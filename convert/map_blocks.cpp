// The map's blocks in pixels at a tile size, checked against the picture and the atlas width.
#include "convert/map_blocks.h"

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

std::optional<std::size_t> FirstBlockOutside(const BlockMap& map, PixelSize picture, int tileSize) {
  for (std::size_t i = 0; i < map.blocks.size(); ++i) {
    const PixelArea area = PixelsOf(map.blocks[i], tileSize);
    if (area.x + area.width > picture.width || area.y + area.height > picture.height) return i;
  }
  return std::nullopt;
}

std::string BlockOutsideText(const MappedBlock& block, PixelSize picture, int tileSize) {
  const PixelArea area = PixelsOf(block, tileSize);
  return LinePrefix(block) + "the " + std::string(FormatEntryFor(block.format).cliName) +
         " block '" + block.name + "' at cell " + std::to_string(block.column) + "," +
         std::to_string(block.row) + " takes " + std::to_string(area.width) + " x " +
         std::to_string(area.height) + " pixels from " + std::to_string(area.x) + "," +
         std::to_string(area.y) + ", past the " + std::to_string(picture.width) + " x " +
         std::to_string(picture.height) + " picture";
}

std::string FramesPastAtlasWidth(const BlockMap& map, SheetLayout layout) {
  for (const MappedBlock& block : map.blocks) {
    const int sheetWidth = SheetSize({block.format, layout.tileSize, layout.complete}).width;
    if (std::int64_t{sheetWidth} * block.frames > kMaxAtlasWidth)
      return LinePrefix(block) + std::to_string(block.frames) + " frames of " +
             std::to_string(sheetWidth) + "-pixel sheets pass the atlas's " +
             std::to_string(kMaxAtlasWidth) + " pixels side by side";
  }
  return {};
}

}  // namespace korvanth
