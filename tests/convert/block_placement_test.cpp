// The one rule that puts the block on a cell of the tile size and pulls it back inside the
// picture, at ordinary sizes and at the ends of 32- and 64-bit positions.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

#include "convert/block_placement.h"

using namespace korvanth;

namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

struct PlacementCase {
  std::int64_t column, row;
  PixelSize block, picture;
  std::optional<SelectionPoint> expected;  // worked out by hand
  int cell = 32;
};

TEST(BlockPlacementTest, CellsArePlacedAndPulledBack) {
  const PixelSize terrain1{64, 96}, terrain2{96, 128}, roof{64, 64};
  const PlacementCase cases[] = {
      {7, 1, terrain2, {256, 1024}, SelectionPoint{160, 32}},  // 224 + 96 > 256
      {0, 0, terrain1, {32, 32}, SelectionPoint{-32, -64}},    // picture smaller than block
      {2, 3, roof, {128, 160}, SelectionPoint{64, 96}},        // touches both edges exactly
      {0, 0, terrain1, {0, 0}, SelectionPoint{-64, -96}},
      {67108863, 0, terrain1, {300, 400}, SelectionPoint{236, 0}},
      {kInt32Max, kInt32Max, roof, {64, 64}, SelectionPoint{0, 0}},
      {67108863, 0, terrain1, {kInt32Max, 100}, SelectionPoint{kInt32Max - 64, 0}},
      {67108862,
       0,
       roof,
       {kInt32Max, 100},
       SelectionPoint{2147483583, 0}},  // 2147483584 > max - 64
      {67108861, 0, roof, {kInt32Max, 100}, SelectionPoint{2147483552, 0}},
      {-1, 0, roof, {100, 100}, SelectionPoint{-32, 0}},
      {-67108864, 0, roof, {100, 100}, SelectionPoint{std::numeric_limits<std::int32_t>::min(), 0}},
      {-67108865, 0, roof, {100, 100}, std::nullopt},  // below the smallest 32-bit position
      {kInt64Max, 0, roof, {100, 100}, std::nullopt},  // the multiply would overflow
      {kInt64Max / 32, 0, roof, {100, 100}, SelectionPoint{36, 0}},
      {0, -kInt64Max, roof, {100, 100}, std::nullopt},
      // Other tile sizes: a 16-pixel terrain1 block is 32 x 48, a 48-pixel roof 96 x 96.
      {3, 2, {32, 48}, {200, 200}, SelectionPoint{48, 32}, 16},
      {5, 1, {32, 48}, {100, 100}, SelectionPoint{68, 16}, 16},  // 80 + 32 > 100
      {1, 1, {96, 96}, {400, 130}, SelectionPoint{48, 34}, 48},  // 48 + 96 > 130
      {kInt64Max / 8, 0, {16, 16}, {100, 100}, SelectionPoint{84, 0}, 8},
      {kInt64Max / 8 + 1, 0, {16, 16}, {100, 100}, std::nullopt, 8},
  };
  for (const PlacementCase& c : cases) {
    const auto placed = korvanth::PlaceBlockOnCell(c.column, c.row, c.block, c.picture, c.cell);
    ASSERT_EQ(placed.has_value(), c.expected.has_value()) << c.column << "," << c.row;
    if (!placed) continue;
    EXPECT_EQ(placed->x, c.expected->x) << c.column << "," << c.row;
    EXPECT_EQ(placed->y, c.expected->y) << c.column << "," << c.row;
  }
}

}  // namespace
