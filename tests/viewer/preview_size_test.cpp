// The preview window's client area holds the largest sheet of any format at the
// preview's scale: 128 pixels wide (both terrain formats) by 384 tall (Terrain2).
#include <gtest/gtest.h>

#include "viewer/preview_render.h"

namespace {

TEST(PreviewSizeTest, ClientAreaFitsTheLargestSheetAtThePreviewScale) {
  const korvanth::PixelSize client = korvanth::PreviewClientSize();
  EXPECT_EQ(client.width, 128 * korvanth::kPreviewScale);
  EXPECT_EQ(client.height, 384 * korvanth::kPreviewScale);
}

}  // namespace
