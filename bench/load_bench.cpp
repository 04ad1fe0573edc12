// Loading a 4096 x 4096 PNG as the picture to convert, next to decoding the same file
// with QImageReader alone.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageReader>

#include <cstdio>
#include <filesystem>
#include <string>

#include "convert/picture_file.h"

using namespace korvanth;

namespace {

const std::string& BigPng() {
  static const std::string path = [] {
    const std::string file =
        (std::filesystem::temp_directory_path() / "korvanth-bench-4096.png").string();
    if (!std::filesystem::exists(file)) {
      QImage image(4096, 4096, QImage::Format_ARGB32);
      for (int y = 0; y < 4096; ++y) {
        auto* row = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < 4096; ++x) row[x] = (x * 2654435761u) ^ (y * 40503u);
      }
      image.save(QString::fromStdString(file), "PNG", 1);
    }
    return file;
  }();
  return path;
}

void BM_LoadSourceImage(benchmark::State& state) {
  const std::string& path = BigPng();
  for (auto _ : state) {
    ImageHandle picture;
    LoadPictureNamed(path.c_str(), picture);
    benchmark::DoNotOptimize(picture.Width());
  }
}

void BM_QImageReader(benchmark::State& state) {
  const QString path = QString::fromStdString(BigPng());
  for (auto _ : state) {
    QImageReader reader(path);
    QImage image = reader.read();
    benchmark::DoNotOptimize(image.constBits());
  }
}

}  // namespace

BENCHMARK(BM_LoadSourceImage)->Name("BM_LoadSourceImage/4096")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QImageReader)->Name("BM_QImageReader/4096")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
