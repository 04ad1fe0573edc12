// Reading a block map's file: a regular file only, bounded, by the text rule of the map.
#pragma once

#include <optional>
#include <string>

#include "convert/block_map.h"

namespace korvanth {

struct BlockMapFile {
  bool exists = true;           // false: there is no file of that name (problem says so)
  std::optional<BlockMap> map;  // empty when the file cannot be used
  // Why not, in both languages: the reader's few words ("is a folder", "no such file"), or
  // the map's first problem ("line 3: ...").
  Phrase problem;
  std::size_t problemLine = 0;  // the map's line with the problem; 0 when it was not read
};

// The map in the file at the UTF-8 `path`, at most kMaxBlockMapBytes long.
BlockMapFile ReadBlockMapFile(const std::string& path);

}  // namespace korvanth
