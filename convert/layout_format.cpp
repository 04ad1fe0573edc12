#include "convert/layout_format.h"

#include "convert/format_registry.h"

namespace korvanth {

// Everything here reads the format registry.

PixelSize SelectionBlockSize(LayoutFormat format) { return korvanth::FormatEntryFor(format).block; }

PixelSize SheetSize(LayoutFormat format) { return korvanth::FormatEntryFor(format).sheet; }

LayoutTable LayoutTableFor(LayoutFormat format) { return korvanth::FormatEntryFor(format).table; }

std::string_view LayoutFormatName(LayoutFormat format) {
  return korvanth::FormatEntryFor(format).cliName;
}

std::optional<LayoutFormat> LayoutFormatFromName(std::string_view name) {
  const korvanth::FormatEntry* entry = korvanth::FormatEntryForCliName(name);
  if (entry == nullptr) return std::nullopt;
  return entry->format;
}

}  // namespace korvanth
