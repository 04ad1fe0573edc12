// The map editors' tileset files a sheet can carry, in one table: the converter's
// --tileset and help, the window's menu items and the writing loop read it, and each row
// says which sheet types its editor imports. A new target is one entry here plus the
// function that writes its text.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <span>
#include <string>
#include <string_view>

#include "convert/godot_tileset.h"
#include "convert/tiled_tileset.h"
#include "convert/tileset_description.h"
#include "imaging/file_types.h"
#include "imaging/ui_language.h"

namespace korvanth {

struct TilesetTarget {
  std::string_view cliName;                               // the --tileset value: "tiled"
  std::string_view extension;                             // after the sheet's stem: ".tsx"
  void (*write)(const TilesetDescription&, TextStream&);  // the whole file, UTF-8
  const char* menuCaption;                                // the window's check item, in Japanese
  const char* menuCaptionEnglish;                         // and in English
  // The help's lines on loading it; "{types}" stands for the sheet types it imports and
  // those it does not (see ImportedTypesPhrase).
  const char* howToUse;
  std::string_view editorName;  // in messages: "Godot 4"
  // The canonical extensions of the sheet types the editor imports, in the order the help
  // names them; empty: every type.
  std::span<const std::string_view> sheetTypes;
  int maxSheetSide;  // the longest side of a picture the editor imports, in pixels; 0: any

  // Whether the editor can load a sheet of `type`.
  constexpr bool importsSheet(const FileType& type) const {
    return sheetTypes.empty() ||
           std::find(sheetTypes.begin(), sheetTypes.end(), type.extensions[0]) != sheetTypes.end();
  }
};

// The sheetTypes of an editor that imports every type, and Godot 4's.
inline constexpr std::span<const std::string_view> kEverySheetType{};
inline constexpr std::string_view kGodotSheetTypes[] = {"png", "jpg", "bmp"};

inline constexpr TilesetTarget kTilesetTargets[] = {
    {"tiled", ".tsx", WriteTiledTileset, "Tiled用タイルセットも保存(&T)",
     "Also Save a &Tiled Tileset",
     "  Tiled: add NAME.tsx to the map (Map > Add External Tileset). The terrain formats\n"
     "    come with a terrain set named NAME: pick it in the Terrain Sets view and paint\n"
     "    with the terrain brush; the neighbouring tiles follow.\n",
     "Tiled", kEverySheetType, 0},
    {"godot", ".tres", WriteGodotTileset, "Godot用タイルセットも保存(&G)",
     "Also Save a &Godot Tileset",
     "  Godot 4: put NAME.png and NAME.tres in the project and use NAME.tres as the\n"
     "    TileSet of a TileMapLayer. In the TileMap panel's Terrains tab pick terrain set 0,\n"
     "    terrain NAME, and paint. Godot imports {types}.\n",
     "Godot 4", kGodotSheetTypes, 16384},  // Image's documented limit: graphics hardware
};

// "png, jpg and bmp sheets, not gif or tif": the sheet types the target imports, in its
// order, then the others in the file types' order; empty when it imports every type.
std::string ImportedTypesPhrase(const TilesetTarget& target);

// The target's help lines, "{types}" filled in.
std::string HowToUse(const TilesetTarget& target);

// The target's whole file as one string.
inline std::string TilesetText(const TilesetTarget& target, const TilesetDescription& tileset) {
  return TextOf([&](TextStream& out) { target.write(tileset, out); });
}

// The --tileset value that asks for every target.
inline constexpr std::string_view kEveryTilesetName = "both";

// Which tileset files to write: bit i stands for kTilesetTargets[i].
enum TilesetKinds : unsigned {
  kNoTilesets = 0,
  kTiledTileset = 1u << 0,
  kGodotTileset = 1u << 1,
  kAllTilesets = (1u << std::size(kTilesetTargets)) - 1,  // every target
};

static_assert(kTilesetTargets[0].cliName == "tiled" && kTilesetTargets[1].cliName == "godot");

constexpr TilesetKinds TilesetKindOf(const TilesetTarget& target) {
  return TilesetKinds(1u << (&target - kTilesetTargets));
}

// Why a target's editor cannot use a sheet of `type`, in a few words of both languages
// ("Godot 4 cannot import gif pictures; save the sheet as .png"); empty when it can.
Phrase SheetTypeRefusal(const TilesetTarget& target, const FileType& type);

}  // namespace korvanth
