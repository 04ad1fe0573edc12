// A block map's blocks on a picture, at the tile size of the run: where each frame's block
// lies in pixels, and the first map line whose blocks do not fit the picture or, side by
// side, the atlas's width.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "convert/block_map.h"
#include "convert/picture_file.h"

namespace korvanth {

// The top-left pixel of frame `frame` of `block` at `tileSize`; meaningful for a block that
// fits a picture (FirstMapBlockProblem), whose pixels are 32-bit positions.
SelectionPoint MappedFrameOrigin(const MappedBlock& block, int frame, int tileSize);

// The problem of the first map line whose blocks reach past `picture` at the layout's tile
// size, in both languages ("line 7: the roof block 'slate' at cell 6,5 takes 64 x 64 pixels from
// 192,160, past the 256 x 224 picture") or, for an atlas, whose frames' sheets (at the layout's
// tile size and completeness) do not fit side by side in an atlas row ("line 4: 40 frames of
// ..."); empty when every block fits. A block made otherwise (line 0) is named without
// its line.
Phrase FirstMapBlockProblem(const BlockMap& map, PixelSize picture, SheetLayout layout,
                            bool inAtlas);

// The sheets --all writes for a map, in map order: one a block, named after it, and one a
// frame of an animation, NAME_0, NAME_1, ...
struct MapSheet {
  std::size_t block = 0;  // its map block
  int frame = 0;
  std::string stem;  // its file name without the extension
};
std::vector<MapSheet> MapSheets(const BlockMap& map);

// The problem of the first sheet whose stem is another's file name on a host whose file
// names ignore case ("grass" and "Grass"), or that another's frame already takes ("water_1"
// beside water's frames), in both languages: "line 5: the sheet 'Water_1' would share its file with
// 'water_1' of line 2"; empty when every sheet has a file of its own.
Phrase SharedSheetFileProblem(const BlockMap& map, const std::vector<MapSheet>& sheets);

}  // namespace korvanth
