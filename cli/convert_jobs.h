// The two jobs of korvanth-convert: one sheet from one block, or one sheet for every
// whole block of the picture. Both return the process exit status.
#pragma once

#include <cstdio>

#include "cli/options.h"
#include "imaging/handles.h"

namespace korvanth {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Messages go to `err`; the progress line of a batch only when `err` is a terminal.
int RunSingleConversion(const ConvertOptions& options, std::FILE* err);
int RunBatchConversion(const ConvertOptions& options, std::FILE* err);

// The checks every job makes, for the other jobs: the names are valid UTF-8, the output
// names a file with an extension and is no folder (kExitOk, or the exit status after one
// line), the input loads (one line when it does not).
bool InputAndOutputAreText(const ConvertOptions& options, std::FILE* err);
int CheckOutputFile(const std::string& output, std::FILE* err);
bool LoadWholeInput(const std::string& input, ImageHandle& picture, std::FILE* err);

}  // namespace korvanth
