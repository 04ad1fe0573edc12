// The single conversion's block against its picture's size: the refusals and the warning.
#include "cli/single_block.h"

#include <algorithm>
#include <cstdint>

#include "cli/convert_jobs.h"
#include "cli/job_messages.h"
#include "convert/block_placement.h"

namespace korvanth {

namespace {

// The last cell along one axis where the block lies whole; 0 when even the first does not
// hold it. In 64 bits: no product of a cell and the cell size is ever formed.
std::int64_t LastWholeCell(std::int32_t picture, std::int32_t block, int cellSize) {
  return std::max<std::int64_t>(0, (std::int64_t{picture} - block) / cellSize);
}

}  // namespace

SingleBlockPlace PlaceSingleBlock(const ConvertOptions& options, PixelSize picture) {
  const SheetLayout layout = options.layout();
  const PixelSize block = SelectionBlockSize(layout);
  SingleBlockPlace place;
  if (options.cell) {
    const std::int64_t lastColumn = LastWholeCell(picture.width, block.width, layout.tileSize);
    const std::int64_t lastRow = LastWholeCell(picture.height, block.height, layout.tileSize);
    const CellPosition cell = *options.cell;
    // Up to the last cells the block is pulled back only where the picture is smaller than
    // it, and its corner always fits a pixel position.
    const std::optional<SelectionPoint> corner =
        cell.column <= lastColumn && cell.row <= lastRow
            ? PlaceBlockOnCell(cell.column, cell.row, block, picture, layout.tileSize)
            : std::nullopt;
    if (!corner) {
      place.said = CellPastTheLastLine(cell.column, cell.row, static_cast<int>(lastColumn),
                                       static_cast<int>(lastRow), layout, picture);
      place.status = kExitUsage;
      return place;
    }
    place.origin = corner;
  } else {
    place.origin = options.origin.value_or(SelectionPoint{});
  }

  // In 64 bits: the block's far edge may lie beyond the largest 32-bit position.
  const SelectionPoint at = *place.origin;
  const std::int64_t right = std::int64_t{at.x} + block.width;
  const std::int64_t bottom = std::int64_t{at.y} + block.height;
  if (right <= 0 || bottom <= 0 || at.x >= picture.width || at.y >= picture.height) {
    place.origin.reset();
    place.said = WhollyOutsideLine(at, block, picture);
    place.status = kExitFailure;
  } else if (at.x < 0 || at.y < 0 || right > picture.width || bottom > picture.height) {
    place.said = PartlyOutsideLine(at, block, picture);
  }
  return place;
}

}  // namespace korvanth
