// The map editors' tileset files that go beside a saved sheet: NAME plus each target's
// extension (NAME.tsx for Tiled, NAME.tres for Godot), NAME being the sheet's file name
// without its extension. Shared by the window and the command-line converter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "convert/layout_format.h"
#include "convert/tileset_targets.h"
#include "imaging/save_file.h"

namespace korvanth {

// A target's name, or "both" for every target; kNoTilesets for anything else.
TilesetKinds TilesetKindsFromName(std::string_view name);

// The tileset's path for a sheet saved at `sheetPath` (UTF-8): the sheet's folder and
// stem with `extension` (a target's, such as ".tsx").
std::string TilesetPathFor(const std::string& sheetPath, std::string_view extension);

// The file name of `path` without its folder.
std::string FileNameOf(const std::string& path);

// Whether two names are equal with ASCII letters compared without regard to case (as a
// file system may compare them).
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

struct TilesetWriteFailure {
  std::string path;    // the tileset file that was not written
  std::string reason;  // a few English words
};

// Writes the chosen tileset files for a sheet of `layout` and file type `sheetType` just
// saved at `sheetPath`, each whole or not at all; a target whose editor cannot load that
// type is not written. Every file that was not written is listed; an empty list means all
// were written.
std::vector<TilesetWriteFailure> WriteSheetTilesets(TilesetKinds kinds, SheetLayout layout,
                                                    const std::string& sheetPath,
                                                    const FileType& sheetType,
                                                    const TerrainLook& look = {});

}  // namespace korvanth
