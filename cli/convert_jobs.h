// The two jobs of korvanth-convert: one sheet from one block, or one sheet for every
// whole block of the picture. Both return the process exit status.
#pragma once

#include <cstdio>

#include "cli/options.h"

namespace korvanth {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Messages go to `err`; the progress line of a batch only when `err` is a terminal.
int RunSingleConversion(const ConvertOptions& options, std::FILE* err);
int RunBatchConversion(const ConvertOptions& options, std::FILE* err);

}  // namespace korvanth
