// Loading a 4096 x 4096 PNG as the picture to convert, next to decoding the same file
// with QImageReader alone; and the check every load runs first (the header, then the
// compressed data read through) on that PNG and on baseline and progressive JPEGs of the
// same pixels, beside loading those JPEGs.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <cstdio>
#include <filesystem>
#include <string>

#include "convert/picture_file.h"
#include "imaging/picture_header.h"

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

// The PNG's pixels as a JPEG of quality 90, progressive or not.
const std::string& BigJpeg(bool progressive) {
  static std::string made[2];
  std::string& path = made[progressive ? 1 : 0];
  if (path.empty()) {
    path = (std::filesystem::temp_directory_path() /
            (progressive ? "korvanth-bench-4096-progressive.jpg" : "korvanth-bench-4096.jpg"))
               .string();
    if (!std::filesystem::exists(path)) {
      QImageWriter writer(QString::fromStdString(path), "jpeg");
      writer.setQuality(90);
      writer.setProgressiveScanWrite(progressive);
      writer.write(QImage(QString::fromStdString(BigPng())).convertToFormat(QImage::Format_RGB32));
    }
  }
  return path;
}

const std::string& BenchFile(std::int64_t kind) {
  return kind == 0 ? BigPng() : BigJpeg(kind == 2);
}

void BM_JudgePicture(benchmark::State& state) {
  const std::string& path = BenchFile(state.range(0));
  for (auto _ : state) {
    const imaging::PictureHeader header = imaging::JudgePictureOfNames(path.c_str(), nullptr);
    benchmark::DoNotOptimize(header.verdict);
  }
}

void BM_LoadPicture(benchmark::State& state) {
  const std::string& path = BenchFile(state.range(0));
  for (auto _ : state) {
    ImageHandle picture;
    LoadPictureNamed(path.c_str(), picture);
    benchmark::DoNotOptimize(picture.Width());
  }
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
// 0: the PNG; 1: the baseline JPEG; 2: the progressive JPEG.
BENCHMARK(BM_JudgePicture)->DenseRange(0, 2)->ArgName("file")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPicture)->DenseRange(1, 2)->ArgName("file")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
