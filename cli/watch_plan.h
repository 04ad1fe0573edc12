#pragma once

#include "cli/options.h"
#include "cli/watch_loop.h"

namespace korvanth {

// What --watch watches for these options (INPUT, the file it links to when it is a
// symbolic link, the --names file and, for --all, the block map) and the files a successful
// conversion names on its line.
WatchPlan WatchPlanFor(const ConvertOptions& options);

}  // namespace korvanth
