// One whole paint of the view over a 4096 x 4096 picture (off-screen composition, grid,
// block, the copy to the window's surface), next to a plain copy of one 32-bit frame.
#include <benchmark/benchmark.h>

#include <QImage>

#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "convert/conversion_state.h"
#include "imaging/portable/device_context.h"
#include "viewer/canvas.h"
#include "viewer/scroll_state.h"

using namespace korvanth;

namespace {

void LoadBigPicture() {
  if (SourceImage.exists()) return;
  void* memory = GdipAlloc(sizeof(ImageHandle));
  SourceImage.image =
      new (memory) ImageHandle(ImageHandle::FromScan0(4096, 4096, PixelFormat32bppARGB));
  GpRect all{0, 0, 4096, 4096};
  BitmapData data{};
  GdipBitmapLockBits(SourceImage.image->bitmap(), &all, ImageLockModeWrite, PixelFormat32bppARGB,
                     &data);
  for (int y = 0; y < 4096; ++y) {
    auto* row = reinterpret_cast<ARGB*>(static_cast<BYTE*>(data.Scan0) + y * data.Stride);
    for (int x = 0; x < 4096; ++x) row[x] = 0xFF000000u | (x * 2654435761u ^ y * 40503u) >> 8;
  }
  GdipBitmapUnlockBits(SourceImage.image->bitmap(), &data);
  SourceImage.width = 4096;
  SourceImage.height = 4096;
}

void BM_PaintView(benchmark::State& state, int width, int height) {
  LoadBigPicture();
  HorizontalScroll.offset = 1000;
  VerticalScroll.offset = 1200;
  QImage windowSurface(width, height, QImage::Format_RGB32);
  HDC__ dc;
  dc.surface = &windowSurface;
  const RECT client{0, 0, width, height};
  const CursorCellState cursor{40, 45};
  for (auto _ : state) {
    PaintView(&dc, cursor, client);
    benchmark::DoNotOptimize(windowSurface.constBits());
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
    benchmark::RegisterBenchmark(("BM_PaintView/" + size).c_str(), BM_PaintView, width, height);
    benchmark::RegisterBenchmark(("BM_FrameCopy/" + size).c_str(), BM_FrameCopy, width, height);
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
