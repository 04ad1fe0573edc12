// The block map a run of --all or --atlas uses: --blocks FILE, else INPUT.blocks when there
// is one. With a map each block is converted at its own format; --names, --frames and
// --name, which name or animate the blocks of a picture without a map, do not go with it,
// and the map's tile-size is the run's unless --tile-size says otherwise (a usage error).
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "cli/options.h"
#include "convert/block_map.h"

namespace korvanth {

// The map file the options name or imply (it may not exist).
std::string BlockMapFileFor(const ConvertOptions& options);

// What the options do not go with when a map is used; empty when they fit.
std::string BlockMapOptionError(const ConvertOptions& options);

struct BlockMapChoice {
  std::optional<BlockMap> map;  // none: every whole block of the picture
  std::string file;             // the map's file when there is a map
};

// Reads the map for a run of `options` into `choice` and gives `options` its tile size;
// kExitOk, or the exit status after one line on `err`.
int ChooseBlockMap(ConvertOptions& options, BlockMapChoice& choice, std::FILE* err);

}  // namespace korvanth
