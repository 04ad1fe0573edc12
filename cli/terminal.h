#pragma once

#include <cstdio>

namespace korvanth {

// Whether the stream is an interactive terminal (progress lines only go there).
bool IsTerminal(std::FILE* stream);

// The converter reports every unreadable picture on one line of its own; the decoders'
// own diagnostics would only add noise to standard error.
void QuietDecoderDiagnostics();

}  // namespace korvanth
