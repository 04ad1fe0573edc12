#include "convert/layout_format.h"

#include "convert/format_registry.h"

namespace korvanth {

// Everything here reads the format registry.

PixelSize SelectionBlockSize(LayoutFormat format) { return FormatEntryFor(format).block; }

PixelSize SheetSize(LayoutFormat format) { return FormatEntryFor(format).sheet; }

LayoutTable LayoutTableFor(LayoutFormat format) { return FormatEntryFor(format).table; }

std::string_view LayoutFormatName(LayoutFormat format) { return FormatEntryFor(format).cliName; }

std::optional<LayoutFormat> LayoutFormatFromName(std::string_view name) {
  const FormatEntry* entry = FormatEntryForCliName(name);
  if (entry == nullptr) return std::nullopt;
  return entry->format;
}

}  // namespace korvanth
