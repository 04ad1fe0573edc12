// The status bar's texts in the window's language: where the pointer and the block are,
// and the last save or reload. Pure: the window's state goes in as plain facts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "app/ui_text.h"
#include "convert/layout_format.h"
#include "convert/load_problem.h"
#include "convert/picture_file.h"
#include "viewer/view_state.h"

namespace korvanth {

// What the pointer's part of the bar tells.
struct PointerFacts {
  CursorCellState cell;  // the grid cell under the pointer
  SelectionPoint block;  // the block's top-left corner, picture pixels
  LayoutFormat format;
  int tileSize;
  int zoom;
};

// "Cell 3, 4   Block at 64, 96   Terrain1   Tile 32   2x", or in Japanese.
std::string PointerStatusText(const PointerFacts& facts, UiLanguage language);

// "saved PATH (and N tilesets)": the sheet's file and how many tilesets went beside it.
std::string SavedStatusText(std::string_view path, std::size_t tilesets, UiLanguage language);

// The open picture's file changed and was read again, or could not be and stays as it was.
std::string ReloadedStatusText(std::string_view path, UiLanguage language);
std::string ReloadFailedStatusText(std::string_view path, LoadProblem problem, UiLanguage language);

}  // namespace korvanth
