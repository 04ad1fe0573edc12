// Groups an atlas's blocks into runs of animation frames along each row, skipping empty runs.
#include "convert/animation_runs.h"

#include "convert/block_names.h"

namespace korvanth {

BlockRuns GroupBlockRuns(const std::vector<char>& empty, int columns, int frames) {
  BlockRuns runs;
  if (columns <= 0 || frames <= 0) return runs;
  const int blocks = static_cast<int>(empty.size());
  for (int rowStart = 0, row = 0; rowStart < blocks; rowStart += columns, ++row) {
    int used = 0;  // the row's blocks up to its last one that shows something
    for (int column = 0; column < columns && rowStart + column < blocks; ++column)
      if (!empty[static_cast<std::size_t>(rowStart + column)]) used = column + 1;
    if (used % frames != 0) {
      runs.unevenRow = row;
      runs.unevenRowBlocks = used;
      runs.firsts.clear();
      return runs;
    }
    for (int first = 0; first < used; first += frames) {
      bool shows = false;
      for (int frame = 0; frame < frames; ++frame)
        shows = shows || !empty[static_cast<std::size_t>(rowStart + first + frame)];
      if (shows) runs.firsts.push_back(rowStart + first);
    }
  }
  runs.skipped = blocks - static_cast<int>(runs.firsts.size()) * frames;
  return runs;
}

std::string NamedFrameProblem(const std::vector<std::string>& names, std::string_view stem,
                              int columns, int frames) {
  if (columns <= 0 || frames <= 1) return {};
  for (std::size_t block = 0; block < names.size(); ++block) {
    const int column = static_cast<int>(block % static_cast<std::size_t>(columns));
    const int row = static_cast<int>(block / static_cast<std::size_t>(columns));
    const int frame = column % frames;
    if (frame == 0 || names[block] == DefaultBlockName(stem, column, row)) continue;
    return "line " + std::to_string(block + 1) + " names block " + std::to_string(column) + "," +
           std::to_string(row) + ", frame " + std::to_string(frame + 1) +
           " of the animated terrain at block " + std::to_string(column - frame) + "," +
           std::to_string(row) + "; only a terrain's first frame takes a name (line " +
           std::to_string(block + 1 - static_cast<std::size_t>(frame)) + ")";
  }
  return {};
}

}  // namespace korvanth
