// The imaging layer's hot paths, the first two next to plain memory copies of the same
// bytes: the sheet export (160 quarter draws into a 128 x 320 sheet), one paint of a
// 1920 x 1080 view over a 4096 x 4096 picture, and the PNG writer on an atlas-sized picture
// of tile art on one thread and on every core.
#include <benchmark/benchmark.h>

#include <QImage>

#include <cstring>
#include <vector>

#include "imaging/encode/writers.h"
#include "imaging/handles.h"
#include "imaging/ordered_workers.h"
#include "imaging/linux/device_context.h"

using namespace korvanth;

namespace {

ImageHandle Picture(int width, int height, bool translucent) {
  ImageHandle picture = ImageHandle::FromScan0(width, height, PixelFormat32bppARGB);
  BitmapData data{};
  GdipBitmapLockBits(picture.bitmap(), nullptr, ImageLockModeWrite, PixelFormat32bppARGB, &data);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<ARGB*>(static_cast<BYTE*>(data.Scan0) + y * data.Stride);
    for (int x = 0; x < width; ++x) {
      const ARGB hash = (static_cast<ARGB>(x) * 2654435761u) ^ (static_cast<ARGB>(y) * 40503u);
      row[x] = (translucent ? (hash & 0xFF000000u) : 0xFF000000u) | (hash >> 8 & 0xFFFFFF);
    }
  }
  GdipBitmapUnlockBits(picture.bitmap(), &data);
  return picture;
}

void BM_SheetExport(benchmark::State& state) {
  ImageHandle source = Picture(64, 96, state.range(0) != 0);
  for (auto _ : state) {
    ImageHandle sheet = ImageHandle::FromScan0(128, 320, PixelFormat32bppARGB);
    GraphicsHandle graphics = GraphicsHandle::FromImage(sheet);
    for (int i = 0; i < 160; ++i)
      GdipDrawImagePointRectI(graphics.graphics(), source.image(), 16 * (i % 8), 16 * (i / 8),
                              16 * (i % 4), 16 * (i % 6), 16, 16, UnitPixel);
    benchmark::DoNotOptimize(sheet.image());
  }
}
BENCHMARK(BM_SheetExport)->Arg(0)->Arg(1)->ArgName("translucent");

void BM_SheetMemcpy(benchmark::State& state) {
  std::vector<char> from(128 * 320 * 4, 1), to(128 * 320 * 4);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SheetMemcpy);

void BM_PaintFrame(benchmark::State& state) {
  ImageHandle picture = Picture(4096, 4096, state.range(0) != 0);
  HDC__ dc{korvanth::imaging::PixelImage::Create(1920, 1080, korvanth::imaging::Layout::Rgb32)};
  for (auto _ : state) {
    GraphicsHandle window = GraphicsHandle::FromHDC(&dc);
    ImageHandle frame = ImageHandle::FromScan0(1920, 1080, PixelFormat24bppRGB);
    GraphicsHandle graphics = GraphicsHandle::FromImage(frame);
    GdipSetClipRectI(graphics.graphics(), 0, 0, 1920, 1080, CombineModeReplace);
    BrushHandle background = BrushHandle::Solid(0xFF808080u);
    GdipFillRectangleI(graphics.graphics(), background.brush(), 0, 0, 1920, 1080);
    GdipDrawImageRectI(graphics.graphics(), picture.image(), -1000, -1200, 4096, 4096);
    GpRect all{0, 0, 1920, 1080};
    BitmapData data{};
    GdipBitmapLockBits(frame.bitmap(), &all, ImageLockModeRead | ImageLockModeWrite,
                       PixelFormat24bppRGB, &data);
    benchmark::DoNotOptimize(data.Scan0);
    GdipBitmapUnlockBits(frame.bitmap(), &data);
    BrushHandle block = BrushHandle::Solid(0x80FF0000u);
    GdipFillRectangleI(graphics.graphics(), block.brush(), 320, 256, 96, 128);
    PenHandle pen = PenHandle::Create(0xFFFF0000u, 2.0f, UnitWorld);
    GdipDrawRectangleI(graphics.graphics(), pen.pen(), 320, 256, 96, 128);
    GdipDrawImageRectI(window.graphics(), frame.image(), 0, 0, 1920, 1080);
    GdipResetClip(graphics.graphics());
    benchmark::DoNotOptimize(dc.surface.bits());
  }
}
BENCHMARK(BM_PaintFrame)->Arg(0)->Arg(1)->ArgName("translucent")->Unit(benchmark::kMillisecond);

// One frame copy: the 24-bit off-screen frame's bytes.
void BM_FrameCopy24(benchmark::State& state) {
  std::vector<char> from(1920 * 1080 * 3, 1), to(1920 * 1080 * 3);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameCopy24)->Unit(benchmark::kMillisecond);

}  // namespace

// 4096 x 2048 of 32 x 32 tiles, each a gradient of its own colour with a 16-pixel texture:
// rows repeat nearby as they do in tile sheets.
void BM_WritePngAtlas(benchmark::State& state) {
  constexpr int kWidth = 4096, kHeight = 2048;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const std::uint32_t tile = static_cast<std::uint32_t>(x / 32 * 7 + y / 32 * 13) & 0x3F;
      const std::uint32_t shade = static_cast<std::uint32_t>((x % 16) * 3 + (y % 16) * 5);
      pixels[static_cast<std::size_t>(y) * kWidth + x] =
          0xFF000000u | (tile * 4 + shade) << 16 | (tile * 2 + shade) << 8 | (255 - tile);
    }
  imaging::encode::PixelRows rows;
  rows.scan0 = reinterpret_cast<const std::uint8_t*>(pixels.data());
  rows.stride = kWidth * 4;
  rows.width = kWidth;
  rows.height = kHeight;
  const int workers = state.range(0) == 0 ? 1 : AvailableCores();
  std::vector<std::uint8_t> out;
  for (auto _ : state) {
    imaging::encode::WritePng(rows, workers, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight * 4);
  state.counters["workers"] = workers;
  state.counters["file_bytes"] = static_cast<double>(out.size());
}
BENCHMARK(BM_WritePngAtlas)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("every_core")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
