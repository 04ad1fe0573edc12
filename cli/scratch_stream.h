#pragma once

#include <cstdio>

namespace korvanth {

// A stream for collecting messages to print later: a temporary file that goes away when
// it is closed. Null when none can be made.
std::FILE* OpenScratchStream();

}  // namespace korvanth
