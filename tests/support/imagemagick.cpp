// Writes test pictures through ImageMagick's convert from raw 8-bit RGB(A) samples.
#include "support/imagemagick.h"

#include <QProcess>
#include <QStringList>

#include "support/test_files.h"

std::string RawSamples(const QImage& image, bool withAlpha) {
  std::string raw;
  raw.reserve(static_cast<std::size_t>(image.width()) * image.height() * 4);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      raw += static_cast<char>(qRed(p));
      raw += static_cast<char>(qGreen(p));
      raw += static_cast<char>(qBlue(p));
      if (withAlpha) raw += static_cast<char>(qAlpha(p));
    }
  }
  return raw;
}

bool WriteWithImageMagick(const QImage& image, bool withAlpha, const std::string& scratchRaw,
                          const std::vector<std::string>& options, const std::string& output) {
  WriteBytes(scratchRaw, RawSamples(image, withAlpha));
  QStringList arguments{"-size", QString("%1x%2").arg(image.width()).arg(image.height()), "-depth",
                        "8", QString::fromStdString((withAlpha ? "rgba:" : "rgb:") + scratchRaw)};
  for (const std::string& o : options) arguments << QString::fromStdString(o);
  arguments << QString::fromStdString(output);
  QProcess process;
  process.start("convert", arguments);
  return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
         process.exitCode() == 0;
}
