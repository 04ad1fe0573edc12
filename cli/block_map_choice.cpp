// Finding, reading and checking the block map of a run, with one line for what is wrong.
#include "cli/block_map_choice.h"

#include <algorithm>

#include "cli/convert_jobs.h"
#include "cli/job_messages.h"
#include "convert/block_map_file.h"
#include "convert/utf8_path.h"

namespace korvanth {

std::string BlockMapFileFor(const ConvertOptions& options) {
  return options.blocksFile.empty() ? BlockMapPathFor(options.input) : options.blocksFile;
}

std::string BlockMapOptionError(const ConvertOptions& options) {
  const char* refusal = nullptr;
  if (!options.namesFile.empty())
    refusal = "--names names the blocks of a picture without a block map; the map names its own";
  else if (options.frames > 1)
    refusal =
        "--frames animates a picture without a block map; the map gives each block its "
        "frames";
  else if (!options.terrainName.empty())
    refusal = "--name names one terrain; the block map names each block";
  if (refusal == nullptr) return {};
  return std::string(refusal) + " (" + PrintableName(BlockMapFileFor(options)) + ")";
}

int ChooseBlockMap(ConvertOptions& options, BlockMapChoice& choice, std::FILE* err) {
  const std::string file = BlockMapFileFor(options);
  const std::string shown = PrintableName(file);
  const bool named = !options.blocksFile.empty();
  if (named && !IsValidUtf8(file)) {
    std::fprintf(err, "%s: %s: the name is not valid UTF-8; rename it or pick another name\n",
                 kProgram, shown.c_str());
    return kExitUsage;
  }
  BlockMapFile read = ReadBlockMapFile(file);
  if (!read.exists && !named) {
    if (options.atlas && options.frameMs && options.frames < 2) {
      std::fprintf(err, "%s: --frame-ms goes with --frames or a block map's frames\n", kProgram);
      return kExitUsage;
    }
    return kExitOk;
  }
  if (!read.map && read.problemLine == 0) {
    std::fprintf(err, "%s: %s: cannot read the block map: %s\n", kProgram, shown.c_str(),
                 read.problem.english.c_str());
    return kExitFailure;
  }
  // A map's own mistakes are usage errors, except under --watch: there they are a damaged
  // save like any other, said and watched until the map is saved mended.
  const int mistakeInMap = options.watch ? kExitFailure : kExitUsage;
  if (!read.map) {
    std::fprintf(err, "%s: %s: %s\n", kProgram, shown.c_str(),
                 PrintableName(read.problem.english).c_str());
    return mistakeInMap;
  }
  const BlockMap& map = *read.map;
  const auto fail = [&](const std::string& problem) {
    std::fprintf(err, "%s: %s\n", kProgram, PrintableName(problem).c_str());
    return kExitUsage;
  };
  if (std::string error = BlockMapOptionError(options); !error.empty()) return fail(error);
  if (map.blocks.empty()) {
    std::fprintf(err, "%s: %s: the block map names no block\n", kProgram, shown.c_str());
    return mistakeInMap;
  }
  if (options.tileSizeGiven && map.tileSize && *map.tileSize != options.tileSize)
    return fail("--tile-size " + std::to_string(options.tileSize) + ": " + file +
                " counts its cells at tile-size " + std::to_string(*map.tileSize));
  const bool animated = std::any_of(map.blocks.begin(), map.blocks.end(),
                                    [](const MappedBlock& block) { return block.frames > 1; });
  if (options.frameMs && !animated)
    return fail("--frame-ms goes with --frames or a block map's frames; " + file +
                " animates no block");
  if (!options.tileSizeGiven && map.tileSize) options.tileSize = *map.tileSize;
  choice.map = std::move(read.map);
  choice.file = file;
  return kExitOk;
}

}  // namespace korvanth
