// One whole paint of the view over a 4096 x 4096 picture (off-screen composition, grid,
// block, the copy to the window's surface) at each zoom, without and with a block map's
// outlines over the whole picture, next to a plain copy of one
// 32-bit frame; and one update of the sheet preview.
#include <benchmark/benchmark.h>

#include <QImage>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "convert/picture_file.h"
#include "imaging/linux/device_context.h"
#include "viewer/canvas.h"
#include "viewer/preview_render.h"
#include "viewer/scroll_state.h"
#include "viewer/view_zoom.h"

using namespace korvanth;

namespace {

ImageHandle& BigPicture() {
  static ImageHandle picture = [] {
    ImageHandle image = ImageHandle::FromScan0(4096, 4096, PixelFormat32bppARGB);
    GpRect all{0, 0, 4096, 4096};
    BitmapData data{};
    GdipBitmapLockBits(image.bitmap(), &all, ImageLockModeWrite, PixelFormat32bppARGB, &data);
    for (int y = 0; y < 4096; ++y) {
      auto* row = reinterpret_cast<ARGB*>(static_cast<BYTE*>(data.Scan0) + y * data.Stride);
      for (int x = 0; x < 4096; ++x) row[x] = 0xFF000000u | (x * 2654435761u ^ y * 40503u) >> 8;
    }
    GdipBitmapUnlockBits(image.bitmap(), &data);
    return image;
  }();
  return picture;
}

// A block map over the whole picture: every 地形1 block of 32-pixel tiles outlined, and
// one animation line of 2^31 - 1 frames across the picture's top.
std::vector<BlockOutline> WholePictureOutlines() {
  std::vector<BlockOutline> outlines;
  for (std::int64_t y = 96; y + 96 <= 4096; y += 96)
    for (std::int64_t x = 0; x + 64 <= 4096; x += 64)
      outlines.push_back({x, y, {64, 96}, 1, LayoutFormat::Terrain1});
  outlines.push_back({0, 0, {64, 64}, 2147483647, LayoutFormat::Roof});
  return outlines;
}

void BM_PaintView(benchmark::State& state, int width, int height, int zoom, bool mapped) {
  const CanvasPicture picture{&BigPicture(), 4096, 4096};
  ViewState view;
  view.zoom = zoom;
  // The same picture pixel at the window's corner at every zoom.
  view.horizontal.offset = 1000 * zoom;
  view.vertical.offset = 1200 * zoom;
  view.client = RECT{0, 0, width, height};
  HDC__ dc{korvanth::imaging::PixelImage::Create(width, height, korvanth::imaging::Layout::Rgb32)};
  const CursorCellState cursor{40, 45};
  const std::vector<BlockOutline> outlines =
      mapped ? WholePictureOutlines() : std::vector<BlockOutline>{};
  const CanvasScene scene{picture, LayoutFormat::Terrain1,
                          BlockOriginUnderPointer(cursor, LayoutFormat::Terrain1, picture),
                          outlines};
  for (auto _ : state) {
    PaintView(&dc, view, scene);
    benchmark::DoNotOptimize(dc.surface.bits());
  }
}

// One update of the sheet preview: the largest sheet built from a block and composed
// over the checkerboard, the block moving by one cell each time.
void BM_PreviewUpdate(benchmark::State& state) {
  int cell = 0;
  for (auto _ : state) {
    const SelectionPoint origin{32 * (cell % 100), 32 * (cell / 100 % 100)};
    ImageHandle composed = korvanth::ComposePreview(LayoutFormat::Terrain2, BigPicture(), origin);
    benchmark::DoNotOptimize(composed.image());
    ++cell;
  }
}

void BM_FrameCopy(benchmark::State& state, int width, int height) {
  const size_t bytes = static_cast<size_t>(width) * height * 4;
  std::vector<unsigned char> from(bytes, 0x3C);
  std::vector<unsigned char> to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

const bool kRegistered = [] {
  for (auto [width, height] : {std::pair{513, 513}, std::pair{1920, 1080}}) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    for (int zoom : {1, 2, 4, 8}) {
      const std::string name = "BM_PaintView/" + size + "/zoom" + std::to_string(zoom);
      benchmark::RegisterBenchmark(name.c_str(), BM_PaintView, width, height, zoom, false);
      // The block-map mode's outlines, a 地形1 block's band every 64 x 96 pixels in sight.
      benchmark::RegisterBenchmark((name + "/mapped").c_str(), BM_PaintView, width, height, zoom,
                                   true);
    }
    benchmark::RegisterBenchmark(("BM_FrameCopy/" + size).c_str(), BM_FrameCopy, width, height);
  }
  benchmark::RegisterBenchmark("BM_PreviewUpdate/terrain2", BM_PreviewUpdate);
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
