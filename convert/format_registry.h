// Every layout format in one place: its names, its menu item, its block and sheet sizes
// and its quarter table. The menu, the converter's options and help text, and the tests
// all read this registry; adding something a format knows means adding a field here.
#pragma once

#include <span>
#include <string_view>

#include "convert/layout_format.h"

namespace korvanth {

struct FormatEntry {
  LayoutFormat format;
  std::string_view name;     // as written in messages: "Terrain1"
  std::string_view cliName;  // the converter's --format value: "terrain1"
  const char* menuCaption;   // the 形式 menu item, from the menu resource
  int commandId;             // that item's command identifier
  PixelSize block;           // the selection block
  PixelSize sheet;           // the sheet built from it
  int sheetColumns;          // tiles per sheet row
  LayoutTable table;         // tile by tile, in sheet order
};

// The entries in menu order (the order of LayoutFormat's values).
std::span<const FormatEntry> FormatRegistry();

const FormatEntry& FormatEntryFor(LayoutFormat format);
// Null when no entry has that command identifier or command-line name.
const FormatEntry* FormatEntryForCommand(int commandId);
const FormatEntry* FormatEntryForCliName(std::string_view cliName);

}  // namespace korvanth
