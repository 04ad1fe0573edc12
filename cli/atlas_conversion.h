// korvanth-convert --all --atlas: every block of the picture into one atlas file and its
// tilesets, on the batch's worker threads.
#pragma once

#include <cstdio>

#include "cli/options.h"

namespace korvanth {

// Returns the process exit status; messages and the summary line go to `err`.
int RunAtlasConversion(const ConvertOptions& options, std::FILE* err);

}  // namespace korvanth
