// Steps the pointer's cell for the keyboard, held where the block placement would stop it.
#include "viewer/cell_steps.h"

#include <algorithm>

namespace korvanth {

namespace {

// The last cell whose placement moves the block: the one at or just past the farthest
// corner that keeps the block inside the picture (0 when the block is wider than it).
std::int64_t LastCell(std::int32_t block, std::int32_t picture, int cellSize) {
  const std::int64_t farthest = static_cast<std::int64_t>(picture) - block;
  if (farthest <= 0) return 0;
  return (farthest + cellSize - 1) / cellSize;
}

std::int32_t StepAxis(std::int32_t cell, std::int32_t step, std::int32_t block,
                      std::int32_t picture, int cellSize) {
  const std::int64_t last = LastCell(block, picture, std::max(cellSize, 1));
  const std::int64_t from = std::clamp<std::int64_t>(cell, 0, last);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(from + step, 0, last));
}

}  // namespace

CellStep BlockStep(SheetLayout layout) {
  const PixelSize block = SelectionBlockSize(layout);
  const int cell = std::max(layout.tileSize, 1);
  return {block.width / cell, block.height / cell};
}

CursorCellState StepCursorCell(CursorCellState cursor, CellStep step, SheetLayout layout,
                               PixelSize picture) {
  const PixelSize block = SelectionBlockSize(layout);
  return {StepAxis(cursor.column, step.columns, block.width, picture.width, layout.tileSize),
          StepAxis(cursor.row, step.rows, block.height, picture.height, layout.tileSize)};
}

}  // namespace korvanth
