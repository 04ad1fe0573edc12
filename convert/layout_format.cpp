// A layout's sizes and table at its tile size, scaled from the registry's 32-pixel ones.
#include "convert/layout_format.h"

#include "convert/complete_shapes.h"
#include "convert/format_registry.h"

namespace korvanth {

namespace {

// A size drawn at 32-pixel tiles, drawn at `tileSize` instead. Every registry size is a
// whole number of quarters, so the result is exact.
PixelSize Scaled(PixelSize size, int tileSize) {
  return {size.width / kQuarterSize * (tileSize / 2), size.height / kQuarterSize * (tileSize / 2)};
}

}  // namespace

PixelSize SelectionBlockSize(SheetLayout layout) {
  return Scaled(FormatEntryFor(layout.format).block, layout.tileSize);
}

int SheetColumns(SheetLayout layout) { return FormatEntryFor(layout.format).sheetColumns; }

PixelSize SheetSize(SheetLayout layout) {
  const int columns = SheetColumns(layout);
  const int rows = (TileCount(layout) + columns - 1) / columns;
  return {columns * layout.tileSize, rows * layout.tileSize};
}

LayoutTable LayoutTableFor(SheetLayout layout) {
  if (layout.complete) return CompletedSheetFor(layout.format).table;
  return FormatEntryFor(layout.format).table;
}

}  // namespace korvanth
