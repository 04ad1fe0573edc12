// A terrain field, as the painting tests fill a map with it, and the same field put
// together from a terrain block's own quarters by each cell corner's case.
#pragma once

#include <QImage>
#include <QPoint>

#include <cstdint>
#include <set>
#include <vector>

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

// Of the fields RandomField gives for seeds 1 to `seeds`, one with at least 3 blobs, 2 holes
// and a quarter of its cells terrain that needs the most different combinations.
TerrainField MostVariedField(int size, const std::set<std::uint8_t>& available, unsigned seeds);

// `field` with a strip added below it that holds, for each of `shapes` (neighbour bits with
// a diagonal only beside both its sides) that no cell of it has yet, a cell of that shape
// among just the neighbours it names, apart from the others.
TerrainField WithEveryShape(TerrainField field, const std::set<std::uint8_t>& shapes);

// Connected groups of terrain cells, and of non-terrain cells enclosed by terrain.
int CountBlobs(const TerrainField& field);
int CountHoles(const TerrainField& field);

// What a corner (a quarter) of a terrain cell borders, from the side above or below it, the
// side left or right of it and the diagonal between them: an outer corner (neither side),
// an edge running down the corner's outer column (only the side above or below), an edge
// along its outer row (only the side left or right), an inner corner (both sides but not
// the diagonal) or full terrain.
enum class CornerCase { Outer, VerticalEdge, HorizontalEdge, Inner, Full };

// The case of cell (x, y)'s corner towards (dx, dy), each -1 or 1.
CornerCase CornerCaseAt(const TerrainField& field, int x, int y, int dx, int dy);

// Where a terrain block keeps its quarters, counted in quarters from its top-left corner:
// a square patch bordered along its outer edges, and the 2 x 2 inner-corner piece.
struct BlockGeometry {
  int patchColumn, patchRow, patchQuarters;
  int innerColumn, innerRow;
};
inline constexpr BlockGeometry kTerrain1Geometry{0, 2, 4, 2, 0};
inline constexpr BlockGeometry kTerrain2Geometry{0, 2, 6, 4, 0};

// The block quarter that shows a corner of `corner` case towards (dx, dy): from the patch,
// the quarter on the same sides (outer column or row where the case has an edge, an inner
// one where it has terrain), or the inner-corner piece's quarter towards (dx, dy).
QPoint SourceQuarter(BlockGeometry geometry, CornerCase corner, int dx, int dy);

// The field put together from `block`'s own quarters (half a tile each), `tileSize` pixels
// a cell, each corner of a terrain cell copied from SourceQuarter; empty cells stay
// transparent.
QImage DrawFieldFromBlock(const TerrainField& field, const QImage& block, BlockGeometry geometry,
                          int tileSize);
