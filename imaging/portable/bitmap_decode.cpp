// Loading a picture file. The decoder is chosen by the content, never by the name, and
// the stored values are kept as they are: no gamma, colour-profile or orientation change.
#include <QByteArray>
#include <QFile>
#include <QImageReader>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "imaging/portable/gp_objects.h"

namespace Gdiplus::DllExports {

using korvanth::imaging::PortableBitmap;

namespace {

// Checks the path before any decoder sees it: only a regular file is opened, so a
// folder, a pipe or a device never blocks or feeds endless data.
GpStatus CheckSourceFile(const QString& path) {
  if (path.isEmpty()) return FileNotFound;
  const QByteArray native = QFile::encodeName(path);
  struct stat info {};
  if (::stat(native.constData(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return FileNotFound;
    if (errno == EACCES) return AccessDenied;
    return Win32Error;
  }
  if (S_ISDIR(info.st_mode)) return AccessDenied;
  if (!S_ISREG(info.st_mode)) return Win32Error;
  // Qt reports a refused open as a plain open error; ask the system about the rights.
  if (::access(native.constData(), R_OK) != 0) return errno == EACCES ? AccessDenied : Win32Error;
  return Ok;
}

// Qt gives a picture without a recorded resolution its own default density, which
// depends on the screen (none in the converter). That value is read as "unknown": GDI+
// then says 96. A file recording exactly that density reads 96 as well, a negligible
// difference next to reporting the screen's density for every picture without one.
float DpiFromDotsPerMetre(int dotsPerMetre, int qtDefault) {
  if (dotsPerMetre <= 0 || dotsPerMetre == qtDefault) return 96.0f;
  return static_cast<float>(dotsPerMetre * 0.0254);
}

int QtDefaultDotsPerMetre(bool horizontal) {
  const QImage probe(1, 1, QImage::Format_Mono);
  return horizontal ? probe.dotsPerMeterX() : probe.dotsPerMeterY();
}

}  // namespace

GpStatus GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap) {
  if (filename == nullptr || bitmap == nullptr) return InvalidParameter;
  *bitmap = nullptr;
  const QString path = QString::fromUtf16(filename);
  if (GpStatus status = CheckSourceFile(path); status != Ok) return status;

  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return file.error() == QFileDevice::PermissionsError ? AccessDenied : Win32Error;
  }
  QImageReader reader(&file);
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(false);
  reader.setAllocationLimit(static_cast<int>(korvanth::imaging::kMaxPixelBytes >> 20));
  if (!reader.canRead()) return UnknownImageFormat;
  const QSize declared = reader.size();
  const bool tooLarge = declared.isValid() &&
                        !korvanth::imaging::FitsPixelLimit(declared.width(), declared.height(), 4);
  if (tooLarge) return OutOfMemory;

  QImage image;
  if (!reader.read(&image) || image.isNull()) {
    return reader.error() == QImageReader::InvalidDataError ||
                   reader.error() == QImageReader::UnsupportedFormatError
               ? UnknownImageFormat
               : (declared.isValid() ? UnknownImageFormat : OutOfMemory);
  }
  if (!korvanth::imaging::FitsPixelLimit(image.width(), image.height(), 4)) return OutOfMemory;

  // ARGB32 and RGB32 are kept as read; others are converted, in place where Qt can.
  const QImage::Format wanted =
      image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  if (image.format() != wanted) {
    image.convertTo(wanted);
    if (image.isNull() || image.format() != wanted) return OutOfMemory;
  }

  auto* created = new (std::nothrow) PortableBitmap;
  if (created == nullptr) return OutOfMemory;
  created->dpiX = DpiFromDotsPerMetre(image.dotsPerMeterX(), QtDefaultDotsPerMetre(true));
  created->dpiY = DpiFromDotsPerMetre(image.dotsPerMeterY(), QtDefaultDotsPerMetre(false));
  created->pixels = std::move(image);
  *bitmap = created;
  return Ok;
}

}  // namespace Gdiplus::DllExports
