// The layout formats' command-line names, for the tests' arguments and messages.
#pragma once

#include <string_view>

#include "convert/format_registry.h"

namespace korvanth {

inline std::string_view LayoutFormatName(LayoutFormat format) {
  return FormatEntryFor(format).cliName;
}

}  // namespace korvanth
