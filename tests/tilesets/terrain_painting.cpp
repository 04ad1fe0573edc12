// Terrain fields for the painting test: random fields, shapes, blocks and the ways to draw them.
#include "tilesets/terrain_painting.h"

#include <QPoint>

#include <algorithm>
#include <iterator>
#include <random>

namespace {

void Fill(QImage& image, int x, int y, int w, int h, QRgb colour) {
  for (int row = y; row < y + h; ++row)
    for (int column = x; column < x + w; ++column) image.setPixel(column, row, colour);
}

// Border and dot sizes at a tile size: 2 and 3 pixels at 32, never below one.
int BorderWidth(int tileSize) { return std::max(1, tileSize / 16); }
int DotSize(int tileSize) { return std::max(1, 3 * tileSize / 32); }

// Fill with a border along the chosen edges.
void BorderedRect(QImage& image, int x, int y, int w, int h, int border, bool top, bool bottom,
                  bool left, bool right) {
  Fill(image, x, y, w, h, kFill);
  if (top) Fill(image, x, y, w, border, kBorder);
  if (bottom) Fill(image, x, y + h - border, w, border, kBorder);
  if (left) Fill(image, x, y, border, h, kBorder);
  if (right) Fill(image, x + w - border, y, border, h, kBorder);
}

void CornerDots(QImage& image, int x, int y, int size) {
  const int dot = DotSize(size);
  Fill(image, x, y, dot, dot, kDot);
  Fill(image, x + size - dot, y, dot, dot, kDot);
  Fill(image, x, y + size - dot, dot, dot, kDot);
  Fill(image, x + size - dot, y + size - dot, dot, dot, kDot);
}

// The neighbours in bit order N, NE, E, SE, S, SW, W, NW.
constexpr int kAround[8][2] = {{0, -1}, {1, -1}, {1, 0},  {1, 1},
                               {0, 1},  {-1, 1}, {-1, 0}, {-1, -1}};

}  // namespace

QImage DrawTerrainBlock(BlockKind kind, int n) {
  const int patchTiles = kind == BlockKind::Terrain1 ? 2 : 3;
  const int border = BorderWidth(n);
  QImage block(patchTiles * n, n + patchTiles * n, QImage::Format_ARGB32);
  block.fill(0);
  // The patch below the top row.
  BorderedRect(block, 0, n, patchTiles * n, patchTiles * n, border, true, true, true, true);
  if (kind == BlockKind::Terrain1) {
    // The tile that is never read: noise, so that reading it would show.
    std::mt19937 noise(7);
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) block.setPixel(x, y, 0xFF000000u | (noise() & 0xFFFFFFu));
    Fill(block, n, 0, n, n, kFill);
    CornerDots(block, n, 0, n);
  } else {
    BorderedRect(block, 0, 0, n, n, border, true, true, true, true);  // the closed tile
    Fill(block, n, 0, n, n, 0xFFB030C0u);                             // the artist's own tile
    Fill(block, 2 * n, 0, n, n, kFill);
    CornerDots(block, 2 * n, 0, n);
  }
  return block;
}

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

std::set<std::uint8_t> ShapesIn(const TerrainField& field) {
  std::set<std::uint8_t> shapes;
  for (int y = 0; y < field.height; ++y)
    for (int x = 0; x < field.width; ++x)
      if (field.at(x, y)) shapes.insert(NeighbourBits(field, x, y));
  return shapes;
}

std::set<std::uint8_t> AllShapes() {
  std::set<std::uint8_t> shapes;
  for (unsigned filled = 0; filled < 256; ++filled) {
    TerrainField field{3, 3, std::vector<std::uint8_t>(9, 0)};
    field.cells[4] = 1;
    for (int n = 0; n < 8; ++n)
      if (filled >> n & 1) field.cells[(1 + kAround[n][1]) * 3 + 1 + kAround[n][0]] = 1;
    shapes.insert(NeighbourBits(field, 1, 1));
  }
  return shapes;
}

TerrainField PlantShapes(TerrainField field, const std::set<std::uint8_t>& shapes) {
  std::vector<std::uint8_t> missing;
  const std::set<std::uint8_t> present = ShapesIn(field);
  std::set_difference(shapes.begin(), shapes.end(), present.begin(), present.end(),
                      std::back_inserter(missing));
  if (missing.empty()) return field;
  // A 3 x 3 stamp per shape with an empty cell between stamps, below an empty row.
  const int perRow = std::max(1, field.width / 4);
  const int top = field.height + 1;
  field.height = top + 4 * ((static_cast<int>(missing.size()) + perRow - 1) / perRow);
  field.cells.resize(static_cast<std::size_t>(field.width) * field.height, 0);
  for (std::size_t i = 0; i < missing.size(); ++i) {
    const int cx = 1 + 4 * (static_cast<int>(i) % perRow);
    const int cy = top + 1 + 4 * (static_cast<int>(i) / perRow);
    field.cells[cy * field.width + cx] = 1;
    for (int n = 0; n < 8; ++n)
      if (missing[i] >> n & 1)
        field.cells[(cy + kAround[n][1]) * field.width + cx + kAround[n][0]] = 1;
  }
  return field;
}

QImage DrawFieldDirectly(const TerrainField& field, int n) {
  const int q = n / 2, border = BorderWidth(n), dot = DotSize(n);
  QImage image(field.width * n, field.height * n, QImage::Format_ARGB32);
  image.fill(0);
  for (int y = 0; y < field.height; ++y) {
    for (int x = 0; x < field.width; ++x) {
      if (!field.at(x, y)) continue;
      // The four corners: dx, dy is the corner's direction.
      for (int dy : {-1, 1}) {
        for (int dx : {-1, 1}) {
          const bool vertical = field.at(x, y + dy);    // the side above or below
          const bool horizontal = field.at(x + dx, y);  // the side left or right
          const bool diagonal = field.at(x + dx, y + dy);
          const int qx = x * n + (dx > 0 ? q : 0);
          const int qy = y * n + (dy > 0 ? q : 0);
          Fill(image, qx, qy, q, q, kFill);
          if (!vertical) Fill(image, qx, dy < 0 ? qy : qy + q - border, q, border, kBorder);
          if (!horizontal) Fill(image, dx < 0 ? qx : qx + q - border, qy, border, q, kBorder);
          if (vertical && horizontal && !diagonal)  // an inner corner
            Fill(image, dx < 0 ? qx : qx + q - dot, dy < 0 ? qy : qy + q - dot, dot, dot, kDot);
        }
      }
    }
  }
  return image;
}

QImage DrawFieldFromBlock(const TerrainField& field, const QImage& block, BlockGeometry g, int n) {
  const int q = n / 2, last = g.patchQuarters - 1;
  QImage image(field.width * n, field.height * n, QImage::Format_ARGB32);
  image.fill(0);
  for (int y = 0; y < field.height; ++y)
    for (int x = 0; x < field.width; ++x)
      for (int corner = 0; field.at(x, y) && corner < 4; ++corner) {
        const int right = corner % 2, below = corner / 2, dx = 2 * right - 1, dy = 2 * below - 1;
        const bool vertical = field.at(x, y + dy), horizontal = field.at(x + dx, y);
        QPoint from(g.patchColumn + (horizontal ? 1 + right * (last - 2) : right * last),
                    g.patchRow + (vertical ? 1 + below * (last - 2) : below * last));
        if (vertical && horizontal && !field.at(x + dx, y + dy))
          from = {g.innerColumn + right, g.innerRow + below};
        for (int v = 0; v < q; ++v)
          for (int u = 0; u < q; ++u)
            image.setPixel(x * n + right * q + u, y * n + below * q + v,
                           block.pixel(from.x() * q + u, from.y() * q + v));
      }
  return image;
}
