// When the open picture is read again: the window looks at its file's stamp now and then,
// and reloads once a change has settled, a paint program writing its file in steps.
#pragma once

#include <optional>

#include "app/file_stamp.h"

namespace korvanth {

struct PictureWatch {
  FileStamp shown;                    // the file as the picture shown was read (or tried) last
  std::optional<FileStamp> changing;  // a change the last look saw, waiting to settle
};

enum class WatchStep { Wait, Reload };

// One look at the file: Reload once a stamp other than the shown one has been seen twice
// in a row (the file then counts as read: `shown` takes it, whatever the reload gives).
// A file that is not there (it may be between a delete and a write) is waited out.
WatchStep LookAtPicture(PictureWatch& watch, const FileStamp& now);

}  // namespace korvanth
