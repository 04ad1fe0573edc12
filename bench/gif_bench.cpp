// The project's GIF writer (palette, median cut, LZW) next to giflib doing the same job
// (its own median cut, its own LZW) on the same 128 x 384 sheet: one of 200 colours
// (written exactly) and one of thousands (quantized).
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/encode/writers.h"

namespace {

constexpr int kWidth = 128;
constexpr int kHeight = 384;

std::vector<std::uint32_t> Sheet(bool manyColours) {
  std::vector<std::uint32_t> pixels(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const std::uint32_t rgb = manyColours
                                    ? static_cast<std::uint32_t>(x * 2) << 16 | (y % 256) << 8
                                    : ((x / 8 + y / 16 * 16) % 200) * 0x010305u;
      pixels[y * kWidth + x] = (y % 64 < 4 ? 0u : 0xFF000000u) | (rgb & 0xFFFFFF);
    }
  return pixels;
}

void BM_ProjectGif(benchmark::State& state) {
  const std::vector<std::uint32_t> pixels = Sheet(state.range(0) != 0);
  korvanth::imaging::encode::PixelRows rows;
  rows.scan0 = reinterpret_cast<const std::uint8_t*>(pixels.data());
  rows.stride = kWidth * 4;
  rows.width = kWidth;
  rows.height = kHeight;
  std::vector<std::uint8_t> out;
  for (auto _ : state) {
    korvanth::imaging::encode::WriteGif(rows, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["bytes"] = static_cast<double>(out.size());
}
BENCHMARK(BM_ProjectGif)->Arg(0)->Arg(1)->ArgName("quantized");

int Append(GifFileType* gif, const GifByteType* bytes, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
  return length;
}

// giflib: an exact palette by a plain search for few colours, its median cut for many.
void BM_GiflibGif(benchmark::State& state) {
  const bool quantized = state.range(0) != 0;
  const std::vector<std::uint32_t> pixels = Sheet(quantized);
  std::string out;
  for (auto _ : state) {
    std::vector<GifColorType> map(256, GifColorType{0, 0, 0});
    std::vector<GifByteType> indices(pixels.size());
    if (quantized) {
      std::vector<GifByteType> r(pixels.size()), g(pixels.size()), b(pixels.size());
      for (std::size_t i = 0; i < pixels.size(); ++i) {
        r[i] = static_cast<GifByteType>(pixels[i] >> 16);
        g[i] = static_cast<GifByteType>(pixels[i] >> 8);
        b[i] = static_cast<GifByteType>(pixels[i]);
      }
      int size = 255;
      GifQuantizeBuffer(kWidth, kHeight, &size, r.data(), g.data(), b.data(), indices.data(),
                        map.data());
    } else {
      std::vector<std::uint32_t> palette;
      for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t rgb = pixels[i] & 0xFFFFFF;
        std::size_t k = 0;
        while (k < palette.size() && palette[k] != rgb) ++k;
        if (k == palette.size()) palette.push_back(rgb);
        indices[i] = static_cast<GifByteType>(k);
      }
    }
    out.clear();
    int error = 0;
    ColorMapObject* colours = GifMakeMapObject(256, map.data());
    GifFileType* gif = EGifOpen(&out, Append, &error);
    EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, colours);
    EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr);
    for (int y = 0; y < kHeight; ++y) EGifPutLine(gif, indices.data() + y * kWidth, kWidth);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(colours);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["bytes"] = static_cast<double>(out.size());
}
BENCHMARK(BM_GiflibGif)->Arg(0)->Arg(1)->ArgName("quantized");

}  // namespace

BENCHMARK_MAIN();
