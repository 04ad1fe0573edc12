// The preview window's client area holds the largest sheet of any format at the tile size
// and complete setting, at the largest whole scale up to 4 that keeps it within 832 rows
// (never below 1). Sheet sizes by hand from the formats' tile counts: at 32 pixels 地形1 is
// 4 x 10 tiles, 地形2 4 x 12, 屋根 3 x 4; complete, 地形1 has 4 x 12 and 地形2 4 x 13.
#include <gtest/gtest.h>

#include "viewer/preview_render.h"

namespace {

TEST(PreviewSizeTest, ClientAreaFitsTheLargestSheetAtTheLargestScaleThatFits) {
  struct Case {
    int tileSize;
    bool complete;
    int scale, width, height;
  };
  const Case cases[] = {
      {32, false, 2, 256, 768},   // 地形2's 128 x 384 at twice its size
      {32, true, 2, 256, 832},    // 128 x 416
      {16, false, 4, 256, 768},   // 64 x 192
      {24, false, 2, 192, 576},   // 96 x 288: 3x would be 864 rows
      {48, true, 1, 192, 624},    // 192 x 624
      {64, false, 1, 256, 768},   // 256 x 768
      {64, true, 1, 256, 832},    // 256 x 832: the tallest the window makes
      {128, true, 1, 512, 1664},  // still 1x when even that does not fit
  };
  for (const Case& c : cases) {
    const korvanth::PreviewFrame frame = korvanth::PreviewFrameFor(c.tileSize, c.complete);
    EXPECT_EQ(frame.scale, c.scale) << c.tileSize << " " << c.complete;
    EXPECT_EQ(frame.client, (korvanth::PixelSize{c.width, c.height}))
        << c.tileSize << " " << c.complete;
  }
}

}  // namespace
