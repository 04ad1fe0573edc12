// The 47 blob match sets, and a terrain sheet completed with tiles built from known quarters.
#include "convert/complete_shapes.h"

#include <algorithm>
#include <iterator>

#include "convert/format_registry.h"

namespace korvanth {

namespace {

constexpr bool IsBlobShape(unsigned mask) {
  // A diagonal without both of its sides is not a shape of its own.
  constexpr unsigned kDiagonals[4][3] = {{1, 0, 2}, {3, 2, 4}, {5, 4, 6}, {7, 6, 0}};
  for (const auto& [diagonal, side1, side2] : kDiagonals)
    if ((mask >> diagonal & 1) && !((mask >> side1 & 1) && (mask >> side2 & 1))) return false;
  return true;
}

constexpr auto kBlobShapes = [] {
  std::array<NeighbourMask, 47> shapes{};
  std::size_t count = 0;
  for (unsigned mask = 0; mask < 256; ++mask)
    if (IsBlobShape(mask)) shapes[count++] = static_cast<NeighbourMask>(mask);
  return shapes;
}();

}  // namespace

std::span<const NeighbourMask> BlobShapes() { return kBlobShapes; }

CaseQuarters QuartersByCase(LayoutTable table, const TerrainRoles& roles) {
  CaseQuarters quarters{};
  for (std::size_t tile = 0; tile < table.size() && tile < roles.size(); ++tile) {
    if (!roles[tile]) continue;
    for (int position = 0; position < 4; ++position) {
      auto& slot = quarters[position][static_cast<int>(CaseOf(*roles[tile], position))];
      if (!slot) slot = table[tile].quarters[position].source;
    }
  }
  return quarters;
}

CompletedSheet CompleteSheet(LayoutTable table, const TerrainRoles& roles, int columns) {
  CompletedSheet completed{{table.begin(), table.end()}, roles, {}};
  // A format without terrain keeps its empty roles: it has no terrain to complete.
  if (roles.empty()) return completed;
  completed.roles.resize(table.size());
  if (columns <= 0) return completed;
  const CaseQuarters quarters = QuartersByCase(table, roles);
  for (const NeighbourMask shape : BlobShapes()) {
    if (std::find(roles.begin(), roles.end(), shape) != roles.end()) continue;
    LayoutTableEntry tile{};
    const int index = static_cast<int>(completed.table.size());
    const int column = index % columns;
    const int row = index / columns;
    bool buildable = true;
    for (int position = 0; position < 4 && buildable; ++position) {
      const auto& source = quarters[position][static_cast<int>(CaseOf(shape, position))];
      buildable = source.has_value();
      if (buildable)
        tile.quarters[position] = {{2 * column + position % 2, 2 * row + position / 2}, *source};
    }
    if (!buildable) {
      completed.unbuildable.push_back(shape);
      continue;
    }
    completed.table.push_back(tile);
    completed.roles.push_back(shape);
  }
  return completed;
}

const CompletedSheet& CompletedSheetFor(LayoutFormat format) {
  static const auto completed = [] {
    std::array<CompletedSheet, std::size(kAllLayoutFormats)> sheets;
    for (const FormatEntry& entry : FormatRegistry()) {
      sheets[static_cast<std::size_t>(entry.format)] =
          CompleteSheet(entry.table, TerrainRolesFor(entry.format), entry.sheetColumns);
    }
    return sheets;
  }();
  return completed[static_cast<std::size_t>(FormatEntryFor(format).format)];
}

}  // namespace korvanth
