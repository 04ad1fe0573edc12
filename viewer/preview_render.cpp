// The preview's pixels: its scale, a checkerboard under the sheet, and painting it enlarged.
#include "viewer/preview_render.h"

#include <algorithm>
#include <cstdint>

#include "convert/export_sheet.h"
#include "convert/format_registry.h"

namespace korvanth {

ARGB CheckerColour(int x, int y) {
  return ((x / kCheckerSquare + y / kCheckerSquare) % 2 == 0) ? kCheckerLight : kCheckerDark;
}

PreviewFrame PreviewFrameFor(int tileSize, bool complete) {
  PixelSize largest{0, 0};
  for (const LayoutFormat format : kAllLayoutFormats) {
    const PixelSize sheet = SheetSize({format, tileSize, complete});
    largest.width = std::max(largest.width, sheet.width);
    largest.height = std::max(largest.height, sheet.height);
  }
  const int scale =
      std::clamp(kPreviewMaxHeight / std::max(largest.height, 1), 1, kMaxPreviewScale);
  return {scale, {largest.width * scale, largest.height * scale}};
}

namespace {

// Writes the checkerboard straight into the bitmap's 32-bit pixels.
bool FillChecker(ImageHandle& image, INT width, INT height) {
  GpRect all{0, 0, width, height};
  BitmapData data{};
  if (image.Record(GdipBitmapLockBits(image.bitmap(), &all, ImageLockModeWrite, PixelFormat32bppRGB,
                                      &data)) != Ok)
    return false;
  for (INT y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(data.Scan0) +
                                                 static_cast<std::ptrdiff_t>(y) * data.Stride);
    for (INT x = 0; x < width; ++x) row[x] = CheckerColour(x, y);
  }
  return image.Record(GdipBitmapUnlockBits(image.bitmap(), &data)) == Ok;
}

}  // namespace

ImageHandle ComposePreview(SheetLayout layout, ImageHandle& source, SelectionPoint origin) {
  SheetBuild build = BuildSheet(layout, source, origin);
  const PixelSize size = SheetSize(layout);
  ImageHandle composed = ImageHandle::FromScan0(size.width, size.height, PixelFormat32bppRGB);
  if (composed.empty() || build.sheet.empty() || !FillChecker(composed, size.width, size.height))
    return ImageHandle();
  GraphicsHandle graphics = GraphicsHandle::FromImage(composed);
  graphics.Record(
      GdipDrawImageRectI(graphics.graphics(), build.sheet.image(), 0, 0, size.width, size.height));
  return composed;
}

void PaintPreview(HDC dc, ImageHandle* composed, RECT client, int scale) {
  GraphicsHandle window = GraphicsHandle::FromHDC(dc);
  BrushHandle margin = BrushHandle::Solid(kPreviewMargin);
  window.Record(
      GdipFillRectangleI(window.graphics(), margin.brush(), 0, 0, client.right, client.bottom));
  if (composed == nullptr || composed->empty()) return;
  const INT width = static_cast<INT>(composed->Width());
  const INT height = static_cast<INT>(composed->Height());
  window.Record(GdipSetInterpolationMode(window.graphics(), InterpolationModeNearestNeighbor));
  window.Record(GdipSetPixelOffsetMode(window.graphics(), PixelOffsetModeHalf));
  window.Record(GdipDrawImageRectRectI(window.graphics(), composed->image(), 0, 0, width * scale,
                                       height * scale, 0, 0, width, height, UnitPixel, nullptr,
                                       nullptr, nullptr));
}

}  // namespace korvanth
