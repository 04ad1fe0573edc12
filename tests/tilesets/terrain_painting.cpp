#include "tilesets/terrain_painting.h"

#include <random>

std::uint8_t NeighbourBits(const TerrainField& f, int x, int y) {
  const bool n = f.at(x, y - 1), e = f.at(x + 1, y), s = f.at(x, y + 1), w = f.at(x - 1, y);
  const bool ne = n && e && f.at(x + 1, y - 1), se = s && e && f.at(x + 1, y + 1);
  const bool sw = s && w && f.at(x - 1, y + 1), nw = n && w && f.at(x - 1, y - 1);
  return std::uint8_t(n | ne << 1 | e << 2 | se << 3 | s << 4 | sw << 5 | w << 6 | nw << 7);
}

TerrainField RandomField(unsigned seed, int width, int height,
                         const std::set<std::uint8_t>& available) {
  std::mt19937 random(seed);
  auto between = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  TerrainField field{width, height, std::vector<std::uint8_t>(width * height, 0)};
  auto disc = [&field](int cx, int cy, int radius, std::uint8_t value) {
    for (int y = cy - radius; y <= cy + radius; ++y)
      for (int x = cx - radius; x <= cx + radius; ++x)
        if (x >= 0 && y >= 0 && x < field.width && y < field.height &&
            (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius + radius)
          field.cells[y * field.width + x] = value;
  };
  for (int blob = 0; blob < 7; ++blob)
    disc(between(2, width - 3), between(2, height - 3), between(2, 5), 1);
  for (int hole = 0; hole < 6; ++hole)
    disc(between(3, width - 4), between(3, height - 4), between(0, 1), 0);
  // Ragged shores: flip some cells, so that corners of every kind occur.
  for (int flip = 0; flip < width * height / 6; ++flip) {
    const int x = between(1, width - 2), y = between(1, height - 2);
    field.cells[y * width + x] ^= 1;
  }
  // Give up cells whose combination the sheet lacks until none is left.
  for (bool changed = true; changed;) {
    changed = false;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (field.at(x, y) && !available.count(NeighbourBits(field, x, y))) {
          field.cells[y * width + x] = 0;
          changed = true;
        }
  }
  return field;
}

TerrainField WithEveryShape(TerrainField field, const std::set<std::uint8_t>& shapes) {
  std::set<std::uint8_t> missing = shapes;
  for (int y = 0; y < field.height; ++y)
    for (int x = 0; x < field.width; ++x)
      if (field.at(x, y)) missing.erase(NeighbourBits(field, x, y));
  // Each shape on a 3 x 3 stamp, four cells apart, below an empty row.
  const int perRow = field.width / 4;
  const int top = field.height + 1;
  const int stampRows = (static_cast<int>(missing.size()) + perRow - 1) / perRow;
  if (stampRows == 0) return field;
  field.height = top + 4 * stampRows;
  field.cells.resize(static_cast<size_t>(field.width) * field.height, 0);
  constexpr int kStep[8][2] = {{0, -1}, {1, -1}, {1, 0},  {1, 1},
                               {0, 1},  {-1, 1}, {-1, 0}, {-1, -1}};
  int index = 0;
  for (std::uint8_t shape : missing) {
    const int cx = 4 * (index % perRow) + 1, cy = top + 4 * (index / perRow) + 1;
    field.cells[cy * field.width + cx] = 1;
    for (int n = 0; n < 8; ++n)
      if (shape >> n & 1) field.cells[(cy + kStep[n][1]) * field.width + cx + kStep[n][0]] = 1;
    ++index;
  }
  return field;
}

namespace {

// Connected groups (4-neighbourhood) of cells equal to `value`; with `enclosedOnly`,
// groups touching the field's edge are not counted.
int CountGroups(const TerrainField& field, bool value, bool enclosedOnly) {
  std::vector<bool> seen(field.cells.size(), false);
  int groups = 0;
  for (int start = 0; start < static_cast<int>(field.cells.size()); ++start) {
    if (seen[start] || (field.cells[start] != 0) != value) continue;
    bool touchesEdge = false;
    std::vector<int> stack = {start};
    seen[start] = true;
    while (!stack.empty()) {
      const int i = stack.back();
      stack.pop_back();
      const int x = i % field.width, y = i / field.width;
      if (x == 0 || y == 0 || x == field.width - 1 || y == field.height - 1) touchesEdge = true;
      const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
      for (const auto& [nx, ny] : next) {
        if (nx < 0 || ny < 0 || nx >= field.width || ny >= field.height) continue;
        const int j = ny * field.width + nx;
        if (!seen[j] && (field.cells[j] != 0) == value) {
          seen[j] = true;
          stack.push_back(j);
        }
      }
    }
    if (!enclosedOnly || !touchesEdge) ++groups;
  }
  return groups;
}

}  // namespace

int CountBlobs(const TerrainField& field) { return CountGroups(field, true, false); }
int CountHoles(const TerrainField& field) { return CountGroups(field, false, true); }

TerrainField MostVariedField(int size, const std::set<std::uint8_t>& available, unsigned seeds) {
  TerrainField field;
  size_t bestVariety = 0;
  for (unsigned seed = 1; seed <= seeds; ++seed) {
    const TerrainField candidate = RandomField(seed, size, size, available);
    int terrainCells = 0;
    std::set<std::uint8_t> needed;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        if (candidate.at(x, y)) {
          ++terrainCells;
          needed.insert(NeighbourBits(candidate, x, y));
        }
    if (CountBlobs(candidate) >= 3 && CountHoles(candidate) >= 2 &&
        terrainCells >= size * size / 4 && needed.size() > bestVariety) {
      field = candidate;
      bestVariety = needed.size();
    }
  }
  return field;
}

CornerCase CornerCaseAt(const TerrainField& field, int x, int y, int dx, int dy) {
  const bool vertical = field.at(x, y + dy);    // the side above or below
  const bool horizontal = field.at(x + dx, y);  // the side left or right
  if (!vertical) return horizontal ? CornerCase::HorizontalEdge : CornerCase::Outer;
  if (!horizontal) return CornerCase::VerticalEdge;
  return field.at(x + dx, y + dy) ? CornerCase::Full : CornerCase::Inner;
}

QPoint SourceQuarter(BlockGeometry g, CornerCase corner, int dx, int dy) {
  if (corner == CornerCase::Inner)
    return {g.innerColumn + (dx > 0 ? 1 : 0), g.innerRow + (dy > 0 ? 1 : 0)};
  const int last = g.patchQuarters - 1;
  const bool edgeColumn = corner == CornerCase::Outer || corner == CornerCase::VerticalEdge;
  const bool edgeRow = corner == CornerCase::Outer || corner == CornerCase::HorizontalEdge;
  // Inner quarters next to the side's edge, so the block's other quarters are not these.
  const int column = edgeColumn ? (dx < 0 ? 0 : last) : (dx < 0 ? 1 : last - 1);
  const int row = edgeRow ? (dy < 0 ? 0 : last) : (dy < 0 ? 1 : last - 1);
  return {g.patchColumn + column, g.patchRow + row};
}

QImage DrawFieldFromBlock(const TerrainField& field, const QImage& block, BlockGeometry geometry,
                          int tileSize) {
  const int half = tileSize / 2;
  QImage image(field.width * tileSize, field.height * tileSize, QImage::Format_ARGB32);
  image.fill(0);
  const QImage source = block.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < field.height; ++y)
    for (int x = 0; x < field.width; ++x) {
      if (!field.at(x, y)) continue;
      for (int dy : {-1, 1})
        for (int dx : {-1, 1}) {
          const QPoint from = SourceQuarter(geometry, CornerCaseAt(field, x, y, dx, dy), dx, dy);
          const int toX = x * tileSize + (dx > 0 ? half : 0);
          const int toY = y * tileSize + (dy > 0 ? half : 0);
          for (int v = 0; v < half; ++v)
            for (int u = 0; u < half; ++u)
              image.setPixel(toX + u, toY + v,
                             source.pixel(from.x() * half + u, from.y() * half + v));
        }
    }
  return image;
}
