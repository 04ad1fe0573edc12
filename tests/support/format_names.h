// The layout formats' command-line names, for the tests' arguments and messages.
#pragma once

#include "convert/format_registry.h"

namespace korvanth {
inline std::string_view LayoutFormatName(LayoutFormat f) { return FormatEntryFor(f).cliName; }
}  // namespace korvanth
