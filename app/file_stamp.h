// A cheap look at a file, to notice that it changed without reading it: whether a regular
// file is there, its size and its last write time.
#pragma once

#include <cstdint>
#include <string>

namespace korvanth {

struct FileStamp {
  bool regular = false;  // a regular file is there (a link is followed); else nothing more
  std::uintmax_t size = 0;
  std::int64_t written = 0;  // the last write time, in the file system clock's ticks
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file at the UTF-8 `path`; never opens the file, so never waits on one.
FileStamp FileStampOf(const std::string& path);

}  // namespace korvanth
