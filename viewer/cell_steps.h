// Moving the block from the keyboard: the cell under the pointer steps by whole cells,
// held where the block's placement rule would pull it back anyway.
#pragma once

#include <cstdint>

#include "convert/layout_format.h"
#include "viewer/view_state.h"

namespace korvanth {

// Cells to move by: negative is left or up.
struct CellStep {
  std::int32_t columns = 0;
  std::int32_t rows = 0;
};

// One block's size in cells: the step of Shift with an arrow key.
CellStep BlockStep(SheetLayout layout);

// The cell the block moves to. A cell past the last one whose block still fits counts as
// that last one first (the block already lies there), so every step moves the block; the
// result stays between the first cell and that last one.
CursorCellState StepCursorCell(CursorCellState cursor, CellStep step, SheetLayout layout,
                               PixelSize picture);

}  // namespace korvanth
