// What the artist draws in each quarter of a format's block, read from the format's quarter
// table: a terrain format's quarter shows the terrain case of the corner it fills in every
// sheet tile that uses it; a quarter of a format without terrain borders the sides whose
// corner positions it never fills.
#pragma once

#include <string>
#include <vector>

#include "convert/format_registry.h"

namespace korvanth::block_pictures {

enum class QuarterKind {
  NotRead,  // no sheet tile uses it
  OwnTile,  // a tile without terrain, placed as it is drawn
  Terrain,  // part of the terrain
  Plain,    // part of a format without terrain (the roof)
};

// The sides of a quarter along which what it shows ends, as bits.
enum Side : unsigned { kTopSide = 1, kBottomSide = 2, kLeftSide = 4, kRightSide = 8 };

struct QuarterLook {
  QuarterKind kind = QuarterKind::NotRead;
  unsigned border = 0;  // Side bits
  int notch = -1;       // an inner corner's open corner, 0 TL to 3 BR; -1 for none
  friend bool operator==(const QuarterLook&, const QuarterLook&) = default;
};

struct BlockLooks {
  int columns = 0;  // the block in quarters
  int rows = 0;
  std::vector<QuarterLook> looks;  // row by row
  std::string problem;             // empty unless two tiles ask one quarter for different looks

  const QuarterLook& at(int column, int row) const { return looks[row * columns + column]; }
};

BlockLooks LooksOf(const FormatEntry& entry);

// The words written in a quarter, one string a line: "top-left", "corner".
std::vector<std::string> LabelOf(const QuarterLook& look);

}  // namespace korvanth::block_pictures
