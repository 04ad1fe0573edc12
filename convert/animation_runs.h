// Animated terrains in an atlas: a block and the next frames - 1 blocks to its right are
// the frames of one terrain, taken in runs of `frames` along each block row from its left
// edge. A row's blocks end at its last block that shows something (empty blocks after it
// are skipped like any empty block) and must make whole runs. A run whose frames are all
// empty is skipped; one with only some empty frames keeps them (as transparent frames), so
// every animation has all its frames. With frames = 1 every block that shows something is
// a run of its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvanth {

inline constexpr int kDefaultFrameMs = 250;
inline constexpr int kMaxFrameMs = 60000;

struct BlockRuns {
  std::vector<int> firsts;  // the first block of every kept run, row-major
  int skipped = 0;          // blocks in no kept run
  int unevenRow = -1;       // the first block row that makes no whole runs; -1: none
  int unevenRowBlocks = 0;  // the blocks that row counts
  bool ok() const { return unevenRow < 0; }
};

// The runs of `frames` blocks among `empty.size()` blocks (row-major, `columns` a row;
// empty[i] says block i shows nothing).
BlockRuns GroupBlockRuns(const std::vector<char>& empty, int columns, int frames);

// Only a run's first block names its terrain: the problem ("" when none) with the first
// of `names` (the blocks' names, row-major) that a names file gave to another frame, told
// by its differing from the block's default STEM_COLUMN_ROW.
std::string NamedFrameProblem(const std::vector<std::string>& names, std::string_view stem,
                              int columns, int frames);

}  // namespace korvanth
