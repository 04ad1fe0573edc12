// Every layout format in one place: its names, its block and sheet sizes, its quarter table
// and, for the terrain formats, how its block is laid out. The converter's options and help
// text, the window's menu (which adds its captions and commands in app/) and the tests all
// read this registry; adding something a format knows means adding a field here.
#pragma once

#include <span>
#include <string_view>

#include "convert/layout_format.h"
#include "convert/terrain_block.h"

namespace korvanth {

struct FormatEntry {
  LayoutFormat format;
  std::string_view name;     // as written in messages: "Terrain1"
  std::string_view cliName;  // the converter's --format value: "terrain1"
  PixelSize block;           // the selection block
  PixelSize sheet;           // the sheet built from it
  int sheetColumns;          // tiles per sheet row
  LayoutTable table;         // tile by tile, in sheet order
  TerrainBlock terrain;      // the block's regions, for the terrain match sets; empty: none
};

// The entries in menu order (the order of LayoutFormat's values).
std::span<const FormatEntry> FormatRegistry();

const FormatEntry& FormatEntryFor(LayoutFormat format);
// Null when no entry has that command-line name.
const FormatEntry* FormatEntryForCliName(std::string_view cliName);

}  // namespace korvanth
