// --watch: the converter converts, then converts again whenever a watched file has changed
// and settled, until Ctrl+C or SIGTERM.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace korvanth {

// One conversion, of whichever mode: its messages go to `err`, its exit status comes back.
using Conversion = std::function<int(std::FILE* err)>;

struct WatchPlan {
  std::vector<std::string> files;  // UTF-8 names; a change to any of them converts again
  // What a successful conversion wrote, for its line ("grass.png, grass.tsx"); empty when
  // the conversion's own messages say it.
  std::string written;
};

// Converts, then waits without waking until a watched name changes, lets the file settle
// (no change for a moment, its size and time unchanged) and converts again. Each message of
// a conversion is printed after the local time ("12:03:41 "), then a successful one's
// "12:03:41 rebuilt: WRITTEN". A failed conversion leaves the last good files as they were
// and the watch goes on. Returns 0 after Ctrl+C or SIGTERM, the first conversion's status
// when that is a usage error, 1 when the files cannot be watched.
int RunWatching(const WatchPlan& plan, const Conversion& convert, std::FILE* err);

}  // namespace korvanth
