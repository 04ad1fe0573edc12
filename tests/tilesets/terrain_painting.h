// A terrain field and the ways the painting test draws it: directly, by its own rule for
// each cell's corners, from a block's own quarters, and through a converted sheet. The
// blocks it converts are drawn so that every quarter of the same role looks the same.
#pragma once

#include <QImage>

#include <cstdint>
#include <set>
#include <vector>

// Look of the painted terrain.
inline constexpr QRgb kFill = 0xFF3C9A3Cu;
inline constexpr QRgb kBorder = 0xFF1E2A5Au;
inline constexpr QRgb kDot = 0xFFE0402Cu;

// Which block a test block is drawn for: patch size in tiles and the top row's tiles.
enum class BlockKind { Terrain1, Terrain2 };

// The block drawn for `kind` at `tileSize`: fill inside the patch with a border along its
// outer edges, an inner-corner tile with a dot in each corner, for Terrain2 a closed tile
// bordered all round and an own tile of another colour; Terrain1's never-read tile gets
// noise. Border and dots grow with the tile.
QImage DrawTerrainBlock(BlockKind kind, int tileSize);

// A field of cells, terrain or not; outside it nothing is terrain.
struct TerrainField {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> cells;
  bool at(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height && cells[y * width + x] != 0;
  }
};

// A cell's neighbours as the editors see them, bits N, NE, E, SE, S, SW, W, NW; a
// diagonal counts only with both its sides.
std::uint8_t NeighbourBits(const TerrainField& field, int x, int y);

// A random field of several blobs with holes in them in which every terrain cell needs a
// combination from `available`; deterministic for a seed.
TerrainField RandomField(unsigned seed, int width, int height,
                         const std::set<std::uint8_t>& available);

// The combinations the terrain cells of `field` need.
std::set<std::uint8_t> ShapesIn(const TerrainField& field);

// Every combination a terrain cell can have: its neighbourhood filled in each of the 256
// ways (47 of them, the lone cell's 0 included).
std::set<std::uint8_t> AllShapes();

// `field` with rows added below it, holding one cell with each of `shapes` that the field
// lacks, each amid exactly its neighbours and apart from the others.
TerrainField PlantShapes(TerrainField field, const std::set<std::uint8_t>& shapes);

// Connected groups of terrain cells, and of non-terrain cells enclosed by terrain.
int CountBlobs(const TerrainField& field);
int CountHoles(const TerrainField& field);

// The field drawn directly, `tileSize` pixels a cell: each terrain cell's four corners
// chosen from its neighbours (outer corner, border, inner corner or fill); empty cells
// stay transparent.
QImage DrawFieldDirectly(const TerrainField& field, int tileSize);

// Where a terrain block keeps its quarters, counted in quarters from its top-left corner:
// a square patch bordered along its outer edges, and the 2 x 2 inner-corner piece.
struct BlockGeometry {
  int patchColumn, patchRow, patchQuarters, innerColumn, innerRow;
};
inline constexpr BlockGeometry kTerrain1Geometry{0, 2, 4, 2, 0};
inline constexpr BlockGeometry kTerrain2Geometry{0, 2, 6, 4, 0};

// The field put together from `block`'s own quarters (half a tile each), `tileSize` pixels
// a cell; empty cells stay transparent. Each corner of a terrain cell is copied from the
// block quarter of its case: where both sides beside it are terrain but the diagonal is
// not, the inner-corner piece's quarter in the same corner; else the patch's quarter on the
// same sides, on the patch's outer column (row) where the side left or right (above or
// below) is not terrain and next to it where it is.
QImage DrawFieldFromBlock(const TerrainField& field, const QImage& block, BlockGeometry geometry,
                          int tileSize);
