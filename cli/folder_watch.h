// Waits for changes to a few named files. Each file is watched through its folder, by
// name: an editor that saves by writing a temporary and renaming it over the file gives
// the name a new file, and only the folder sees that. While a watch is open, Ctrl+C and
// SIGTERM (Ctrl+C and Ctrl+Break on Windows) end the wait instead of the process, so the
// conversion under way finishes and the program exits cleanly.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvanth {

enum class WatchEvent {
  Changed,  // one of the files was written, created, replaced, renamed or removed
  Quiet,    // the timeout passed without a change
  Stop,     // the user asked the program to end
  Lost,     // a folder can no longer be watched (removed, moved); see problem()
};

class FolderWatch {
 public:
  virtual ~FolderWatch() = default;
  // Blocks until a change to a watched name, a stop request or, when one is given, the
  // end of the timeout; changes to other names in the folders do not end it.
  virtual WatchEvent Wait(std::optional<std::chrono::milliseconds> timeout) = 0;
  // After Lost: which folder, and why, in a few English words.
  const std::string& problem() const { return problem_; }

 protected:
  std::string problem_;
};

struct FolderWatchOpening {
  std::unique_ptr<FolderWatch> watch;
  std::string error;  // when watch is empty: the name that cannot be watched and why
};

// Starts watching `files` (UTF-8 names, relative to the current folder or absolute).
FolderWatchOpening OpenFolderWatch(const std::vector<std::string>& files);

}  // namespace korvanth
