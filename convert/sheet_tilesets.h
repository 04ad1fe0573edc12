// Which of the map editors' tileset files a request asks for, by the converter's names.
// The table of targets is tileset_targets.h; the files' paths are utf8_path.h's.
#pragma once

#include <string_view>

#include "convert/tileset_targets.h"

namespace korvanth {

// A target's name, or "both" for every target; kNoTilesets for anything else.
TilesetKinds TilesetKindsFromName(std::string_view name);

}  // namespace korvanth
