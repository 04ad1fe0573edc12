// What --watch watches (the input, a link's target, the --names file, the block map) and what
// it reports.
#include "cli/watch_plan.h"

#include <filesystem>
#include <system_error>

#include "cli/block_map_choice.h"
#include "convert/sheet_tilesets.h"
#include "convert/utf8_path.h"

namespace korvanth {

namespace fs = std::filesystem;

namespace {

// A linked picture is saved through its target, which may lie in another folder.
std::vector<std::string> WatchedFiles(const std::string& input) {
  std::vector<std::string> files{input};
  const fs::path path = PathFromUtf8(input);
  std::error_code ec;
  if (!fs::is_symlink(path, ec)) return files;
  const fs::path target = fs::weakly_canonical(path, ec);
  if (ec) return files;
  files.push_back(Utf8FromPath(target));
  return files;
}

}  // namespace

WatchPlan WatchPlanFor(const ConvertOptions& options) {
  WatchPlan plan{WatchedFiles(options.input), {}};
  if (!options.namesFile.empty()) plan.files.push_back(options.namesFile);
  // A batch's block map, watched whether or not it is there yet: saving one beside the
  // picture converts by it.
  if (options.mode == ConvertOptions::Mode::Batch) plan.files.push_back(BlockMapFileFor(options));
  // A batch and an atlas say what they wrote in their own summary lines.
  if (options.mode != ConvertOptions::Mode::Single) return plan;
  plan.written = PrintableName(options.output);
  for (const TilesetTarget& target : kTilesetTargets) {
    if (options.tilesets & TilesetKindOf(target))
      plan.written += ", " + PrintableName(TilesetPathFor(options.output, target.extension));
  }
  return plan;
}

}  // namespace korvanth
