// Running the real Tiled programs and the converter from the tests, and reading what
// Tiled gives back.
#pragma once

#include <QImage>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "tilesets/terrain_painting.h"

// `tiled --export-tileset json TSX JSON`.
ProgramRun ExportTilesetAsJson(const std::string& tsx, const std::string& json);

// `tmxrasterizer TMX PNG`.
ProgramRun RasterizeMap(const std::string& tmx, const std::string& png);

// korvanth-convert with the given arguments.
ProgramRun RunConverter(const std::vector<std::string>& arguments);

// A tileset as Tiled's JSON export states it.
struct TiledJsonTileset {
  std::map<std::string, std::string> fields;  // top-level scalars, as text
  int wangsetCount = 0;
  std::string wangsetType;
  int colourCount = 0;
  std::map<int, std::array<int, 8>> wangids;  // tile id -> wangid
};
std::optional<TiledJsonTileset> ReadTiledJson(const std::string& path);

// A one-layer orthogonal map of square tiles using the external tileset `tsx` from gid 1;
// `gids` row by row, 0 for an empty cell.
std::string MapText(int width, int height, const std::string& tsx, const std::vector<int>& gids,
                    int tileSize);

// A wang id as neighbour bits N, NE, E, SE, S, SW, W, NW (a 1 matches); none when it holds
// anything but 0 and 1.
std::optional<std::uint8_t> WangBits(const std::array<int, 8>& wangid);

// The first tile of the tileset for each neighbour combination; empty when a wang id is not
// made of 0 and 1.
std::map<std::uint8_t, int> TilesByNeighbours(const TiledJsonTileset& tileset);

// A field painted as Tiled's terrain brush paints it: each terrain cell gets the tile of
// its neighbour combination, in the map `folder`/painted.tmx over the tileset `tsx` (a name
// in `folder`), rendered by tmxrasterizer to `folder`/rendered.png.
struct PaintedMap {
  QImage picture;  // null when a cell had no tile or the render failed
  std::set<int> tilesUsed;
  std::string problem;
};
PaintedMap PaintWithTiled(const std::string& folder, const std::string& tsx,
                          const TerrainField& field, const std::map<std::uint8_t, int>& tiles,
                          int tileSize);
