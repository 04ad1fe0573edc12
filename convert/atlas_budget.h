// Whether an atlas can be made within its bounds, judged from the picture's size alone
// (a header says it before anything is decoded): its pixels within the largest picture's,
// and the memory of the run within 2.5 times the picture's and the atlas's 32-bit pixels
// plus 28 MiB (the program's own 20 to 35 MiB beside it keep the whole below 2.5 times
// plus 64 MiB), and never beyond kMaxAtlasWorkBytes. The judgement assumes every whole
// block shows something: empty blocks only make the atlas smaller.
//
// The run holds, at its peak, the picture, the atlas, the tilesets' description and the
// encoder's file with its buffers (file_types.h); the tilesets are written piece by piece
// once the atlas's pixels are gone.
#pragma once

#include <cstdint>
#include <string>

#include "convert/block_map.h"
#include "convert/layout_format.h"
#include "convert/tileset_targets.h"
#include "imaging/file_types.h"
#include "imaging/picture_header.h"
#include "imaging/ui_language.h"

namespace korvanth {

// The most a run may hold: as for loading a picture, 1.5 GiB less 64 MiB, and in a 32-bit
// Windows process, whose 2 GiB of address space must also hold the program and room
// between its blocks, 1 GiB.
#if defined(_WIN32) && !defined(_WIN64)
inline constexpr std::int64_t kMaxAtlasWorkBytes = std::int64_t{1} << 30;
#else
inline constexpr std::int64_t kMaxAtlasWorkBytes = imaging::kMaxDecodeBytes;
#endif
// Beyond 2.5 times the picture's and the atlas's bytes.
inline constexpr std::int64_t kAtlasWorkAllowance = std::int64_t{28} << 20;
// The description of the tilesets: a tile's id and match set, and Godot's index of them.
inline constexpr std::int64_t kDescriptionBytesPerTile = 24;
inline constexpr std::int64_t kDescriptionBytesPerTerrain = 128;

struct AtlasRequest {
  PixelSize picture{0, 0};
  SheetLayout layout;
  int frames = 1;
  const FileType* type = nullptr;  // the atlas's file type
  TilesetKinds tilesets = kNoTilesets;
  // The blocks of a block map instead of every whole block: each line's block (and frames)
  // at its own format, at layout's tile size and completeness; frames is then unused.
  const BlockMap* map = nullptr;
};

struct AtlasNeeds {
  std::int64_t pictureBytes = 0;  // the picture's 32-bit pixels
  std::int64_t atlasBytes = 0;    // the atlas's 32-bit pixels with every block placed
  std::int64_t atlasWidth = 0;    // and its size in pixels
  std::int64_t atlasHeight = 0;
  std::int64_t workBytes = 0;  // what the run holds at its peak
};

// What the atlas of every whole block of `request.picture` (or of every block of the map)
// takes.
AtlasNeeds AtlasNeedsFor(const AtlasRequest& request);

// Why that atlas is refused ("the atlas would be too large: ..."), in both languages, or
// empty when it fits. A tileset target whose editor imports no picture of the atlas's size
// refuses it too.
Phrase AtlasSizeRefusal(const AtlasRequest& request);

}  // namespace korvanth
