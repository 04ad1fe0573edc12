// Building a tile sheet from a block in memory.
#pragma once

#include "convert/picture_file.h"
#include "convert/layout_format.h"
#include "imaging/handles.h"

namespace korvanth {

// Text shown when an extension selects no encoder and the sheet is saved as BMP.
inline constexpr const char kBitmapFallbackWarning[] = "ビットマップ形式で保存します";

// The sheet and the graphics surface drawing on it, released graphics first.
struct SheetBuild {
  ImageHandle sheet;
  GraphicsHandle graphics;
};

// Creates the layout's transparent 32-bit sheet at 96 dpi and copies every quarter of the
// block at `origin` from `source` into it by the layout's table, quarters being half its
// tile size. The source's resolution
// is set to 96 dpi as well, so quarters are copied unscaled. Any origin is safe: quarters
// wholly outside the picture are left transparent.
SheetBuild BuildSheet(SheetLayout layout, ImageHandle& source, SelectionPoint origin);

}  // namespace korvanth
