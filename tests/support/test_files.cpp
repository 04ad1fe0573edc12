// Shared test helpers: scratch folders, position-coded pictures, files read back with Qt.
#include "support/test_files.h"

#include <QImageReader>

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  for (;;) {
    path_ = fs::temp_directory_path() /
            ("korvanth-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(path_, ec)) break;
  }
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

QImage PatternImage(int width, int height, bool withAlpha) {
  QImage image(width, height, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<quint32*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const quint32 hash =
          (static_cast<quint32>(x) * 2654435761u) ^ (static_cast<quint32>(y) * 40503u);
      const quint32 r = static_cast<quint32>(x) & 0xFF;
      const quint32 g = static_cast<quint32>(y) & 0xFF;
      const quint32 b = (hash >> 8) & 0xFF;
      quint32 a = 0xFF;
      if (withAlpha) {
        a = (hash >> 16) & 0xFF;
        if (a == 0) a = 1;  // fully transparent pixels carry no colour; keep them visible
      }
      row[x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  return image;
}

QImage ReadBack(const std::string& path) {
  QImageReader reader(QString::fromStdString(path));
  reader.setAutoTransform(false);
  QImage image = reader.read();
  if (image.isNull()) return image;
  return image.convertToFormat(QImage::Format_ARGB32);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

std::u16string Wide(const std::string& utf8) {
  return QString::fromStdString(utf8).toStdU16String();
}

std::set<std::string> FileNamesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}
