// Saving: the whole file is encoded in memory, then written beside the target and
// renamed over it, so a failed save leaves neither a partial file nor a lost old one.
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <unistd.h>

#include <cerrno>
#include <new>

#include "imaging/portable/codec_table.h"
#include "imaging/portable/encoders.h"

namespace Gdiplus::DllExports {

using korvanth::imaging::EncoderKind;
using korvanth::imaging::PortableBitmap;

namespace {

constexpr int kJpegQuality = 90;

bool Encode(EncoderKind kind, PortableBitmap& bitmap, QByteArray& out) {
  switch (kind) {
    case EncoderKind::Bmp:
      return korvanth::imaging::EncodeBmp(bitmap, out);
    case EncoderKind::Jpeg:
      return korvanth::imaging::EncodeWithQt(bitmap, "jpeg", kJpegQuality, out);
    case EncoderKind::Gif:
      return korvanth::imaging::EncodeGif(bitmap, out);
    case EncoderKind::Tiff:
      return korvanth::imaging::EncodeTiff(bitmap, out);
    case EncoderKind::Png:
      return korvanth::imaging::EncodeWithQt(bitmap, "png", -1, out);
  }
  return false;
}

bool PermissionRefused(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  return ::access(native.constData(), W_OK) != 0 && errno == EACCES;
}

// Qt reports a refused temporary file as a plain open error; the folder's and the old
// file's permissions tell whether it was a matter of rights.
GpStatus FileStatus(const QSaveFile& file) {
  if (file.error() == QFileDevice::PermissionsError) return AccessDenied;
  const QFileInfo target(file.fileName());
  if (target.exists() && !target.isDir() && PermissionRefused(target.filePath()))
    return AccessDenied;
  if (PermissionRefused(target.absolutePath())) return AccessDenied;
  return Win32Error;
}

}  // namespace

GpStatus GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* clsidEncoder,
                             const EncoderParameters*) {
  PortableBitmap* bitmap = korvanth::imaging::AsBitmap(image);
  if (bitmap == nullptr || bitmap->disposed || filename == nullptr || clsidEncoder == nullptr)
    return InvalidParameter;
  const korvanth::imaging::CodecEntry* codec = nullptr;
  for (const auto& entry : korvanth::imaging::kCodecs)
    if (entry.clsid == *clsidEncoder) codec = &entry;
  if (codec == nullptr) return UnknownImageFormat;
  if (bitmap->lock.active) return WrongState;

  QByteArray encoded;
  try {
    if (!Encode(codec->kind, *bitmap, encoded)) return GenericError;
  } catch (const std::bad_alloc&) {
    return OutOfMemory;
  }

  const QString path = QString::fromUtf16(filename);
  if (path.isEmpty()) return Win32Error;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return FileStatus(file);
  if (file.write(encoded) != encoded.size()) {
    file.cancelWriting();
    file.commit();  // discards the temporary file
    return FileStatus(file);
  }
  if (!file.commit()) return FileStatus(file);
  return Ok;
}

}  // namespace Gdiplus::DllExports
