// Running the real Tiled programs and the converter from the tests, and reading what
// Tiled gives back.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/program_run.h"

// `tiled --export-tileset json TSX JSON`.
ProgramRun ExportTilesetAsJson(const std::string& tsx, const std::string& json);

// `tmxrasterizer TMX PNG`.
ProgramRun RasterizeMap(const std::string& tmx, const std::string& png);

// A tileset as Tiled's JSON export states it.
struct TiledJsonTileset {
  std::map<std::string, std::string> fields;  // top-level scalars, as text
  int wangsetCount = 0;
  std::string wangsetType;
  std::string wangsetName;
  int wangsetTile = -1;
  int colourCount = 0;
  std::string colourName, colour;  // the last wang set's first colour; colour as #rrggbb
  int colourTile = -1;
  std::map<int, std::array<int, 8>> wangids;  // tile id -> wangid
  // Every wang set in order, each with its first colour and its own tiles.
  struct WangSet {
    std::string name, colour;
    int tile = -1;
    std::map<int, std::array<int, 8>> wangids;
  };
  std::vector<WangSet> wangsets;
  std::map<int, std::vector<std::pair<int, int>>> animations;  // tile -> its (tile, ms) frames
};
std::optional<TiledJsonTileset> ReadTiledJson(const std::string& path);

// A one-layer orthogonal map of `tileSize` square tiles using the external tileset `tsx`
// from gid 1; `gids` row by row, 0 for an empty cell.
std::string MapText(int width, int height, int tileSize, const std::string& tsx,
                    const std::vector<int>& gids);
