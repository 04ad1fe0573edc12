// Arrow keys move the block by a cell (Shift: a block) and scroll it into sight; Enter acts
// as a click does.
#include "app/selection_keys.h"

#include "app/block_map_mode.h"
#include "app/window_state.h"
#include "viewer/cell_steps.h"
#include "viewer/scroll_reveal.h"

namespace korvanth {

namespace {

bool Held(int key) { return GetKeyState(key) < 0; }

bool ArrowStep(WPARAM key, CellStep unit, CellStep& step) {
  switch (key) {
    case VK_LEFT:
      step = {-unit.columns, 0};
      return true;
    case VK_RIGHT:
      step = {unit.columns, 0};
      return true;
    case VK_UP:
      step = {0, -unit.rows};
      return true;
    case VK_DOWN:
      step = {0, unit.rows};
      return true;
    default:
      return false;
  }
}

void MoveBlock(WindowState& state, HWND window, CellStep step) {
  const SheetLayout layout = CurrentSheetLayout(state);
  state.view.cursor =
      StepCursorCell(state.view.cursor, step, layout, {state.picture.width, state.picture.height});
  state.view.heldByKeys = true;
  RevealPictureArea(window, state.view, SelectionOrigin(state), SelectionBlockSize(layout));
  InvalidateRect(window, nullptr, FALSE);
}

}  // namespace

bool RunSelectionKey(WindowState& state, HWND window, WPARAM key) {
  if (Held(VK_CONTROL)) return false;
  const CellStep unit = Held(VK_SHIFT) ? BlockStep(CurrentSheetLayout(state)) : CellStep{1, 1};
  CellStep step;
  const bool arrow = ArrowStep(key, unit, step);
  if (!arrow && key != VK_RETURN) return false;
  if (!state.picture.exists() || state.picture.width == 0) return true;
  if (arrow)
    MoveBlock(state, window, step);
  else
    ActOnSelection(state, window);
  return true;
}

}  // namespace korvanth
