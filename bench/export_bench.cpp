// Building one sheet in memory, next to a plain copy of the same number of bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "convert/export_sheet.h"
#include "convert/format_registry.h"
#include "convert/layout_format.h"

using namespace korvanth;

namespace {

// A 1024 x 1024 picture with semi-transparent pixels, made through the imaging layer.
ImageHandle& SourcePicture() {
  static ImageHandle picture = [] {
    ImageHandle image = ImageHandle::FromScan0(1024, 1024, PixelFormat32bppARGB);
    GpRect all{0, 0, 1024, 1024};
    BitmapData data{};
    GdipBitmapLockBits(image.bitmap(), &all, ImageLockModeWrite, PixelFormat32bppARGB, &data);
    for (int y = 0; y < 1024; ++y) {
      auto* row = reinterpret_cast<ARGB*>(static_cast<BYTE*>(data.Scan0) + y * data.Stride);
      for (int x = 0; x < 1024; ++x) row[x] = (static_cast<ARGB>(x * 7 + y) << 24) | (x << 12) | y;
    }
    GdipBitmapUnlockBits(image.bitmap(), &data);
    return image;
  }();
  return picture;
}

void BM_ExportSheet(benchmark::State& state, SheetLayout format) {
  ImageHandle& source = SourcePicture();
  for (auto _ : state) {
    SheetBuild build = BuildSheet(format, source, {96, 160});
    benchmark::DoNotOptimize(build.sheet.image());
  }
  const PixelSize size = SheetSize(format);
  state.SetBytesProcessed(state.iterations() * size.width * size.height * 4);
}

void BM_SheetMemcpy(benchmark::State& state, SheetLayout format) {
  const PixelSize size = SheetSize(format);
  const size_t bytes = static_cast<size_t>(size.width) * size.height * 4;
  std::vector<unsigned char> from(bytes, 0x5A);
  std::vector<unsigned char> to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

const bool kRegistered = [] {
  for (LayoutFormat format : kAllLayoutFormats) {
    const std::string name(FormatEntryFor(format).cliName);
    benchmark::RegisterBenchmark(("BM_ExportSheet/" + name).c_str(), BM_ExportSheet, format);
    benchmark::RegisterBenchmark(("BM_SheetMemcpy/" + name).c_str(), BM_SheetMemcpy, format);
  }
  // Completed terrain sets at the small and large tile sizes of today's tile art.
  for (int size : {16, 48}) {
    const SheetLayout layout{LayoutFormat::Terrain2, size, true};
    const std::string name = "terrain2-complete-" + std::to_string(size);
    benchmark::RegisterBenchmark(("BM_ExportSheet/" + name).c_str(), BM_ExportSheet, layout);
    benchmark::RegisterBenchmark(("BM_SheetMemcpy/" + name).c_str(), BM_SheetMemcpy, layout);
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
