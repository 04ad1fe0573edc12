// Loading a picture file. The decoder is chosen by the content, never by the name: BMP,
// GIF, PNG, TIFF and JPEG are read, nothing else. The stored values are kept as they are:
// no gamma, colour-profile or orientation change.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

#include "imaging/picture_header.h"
#include "imaging/portable/gp_objects.h"
#include "imaging/portable/native_path.h"
#include "imaging/portable/picture_decoders.h"

namespace korvanth::imaging {

PixelImage AllocatePicture(std::int64_t width, std::int64_t height, bool withAlpha) {
  return PixelImage::Create(width, height, withAlpha ? Layout::Argb32 : Layout::Rgb32);
}

void FillPixels(PixelImage& picture, std::uint32_t value) {
  for (std::int64_t y = 0; y < picture.height(); ++y)
    std::fill_n(reinterpret_cast<std::uint32_t*>(picture.row(y)), picture.width(), value);
}

float DpiFromDensity(double density, double unitsPerInch) {
  const double dpi = density * unitsPerInch;
  return dpi > 0 && dpi < 1e6 ? static_cast<float>(dpi) : 96.0f;
}

}  // namespace korvanth::imaging

namespace Gdiplus::DllExports {

using korvanth::imaging::PortableBitmap;

namespace {

// Checks the path before any decoder sees it: only a regular file is opened, so a
// folder, a pipe or a device never blocks or feeds endless data.
GpStatus CheckSourceFile(const std::string& native) {
  if (native.empty()) return FileNotFound;
  struct stat info {};
  if (::stat(native.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return FileNotFound;
    if (errno == EACCES) return AccessDenied;
    return Win32Error;
  }
  if (S_ISDIR(info.st_mode)) return AccessDenied;
  if (!S_ISREG(info.st_mode)) return Win32Error;
  return Ok;
}

GpStatus DecodeByContent(std::FILE* file, korvanth::imaging::DecodedPicture& picture) {
  using korvanth::imaging::PictureType;
  unsigned char signature[8] = {};
  const std::size_t got = std::fread(signature, 1, sizeof signature, file);
  std::rewind(file);
  switch (korvanth::imaging::PictureTypeOfSignature(signature, got)) {
    case PictureType::Png:
      return korvanth::imaging::DecodePng(file, picture);
    case PictureType::Jpeg:
      return korvanth::imaging::DecodeJpeg(file, picture);
    case PictureType::Gif:
      return korvanth::imaging::DecodeGif(file, picture);
    case PictureType::Tiff:
      return korvanth::imaging::DecodeTiff(file, picture);
    case PictureType::Bmp:
      return korvanth::imaging::DecodeBmp(file, picture);
    case PictureType::Unknown:
      break;
  }
  return UnknownImageFormat;
}

}  // namespace

GpStatus GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap) {
  if (filename == nullptr || bitmap == nullptr) return InvalidParameter;
  *bitmap = nullptr;
  const std::string native = korvanth::imaging::NativePath(filename);
  if (GpStatus status = CheckSourceFile(native); status != Ok) return status;

  std::FILE* file = std::fopen(native.c_str(), "rb");
  if (file == nullptr) return errno == EACCES ? AccessDenied : Win32Error;
  korvanth::imaging::DecodedPicture picture;
  const GpStatus status = DecodeByContent(file, picture);
  std::fclose(file);
  if (status != Ok) return status;

  auto* created = new (std::nothrow) PortableBitmap;
  if (created == nullptr) return OutOfMemory;
  created->dpiX = picture.dpiX;
  created->dpiY = picture.dpiY;
  created->pixels = std::move(picture.pixels);
  *bitmap = created;
  return Ok;
}

}  // namespace Gdiplus::DllExports
