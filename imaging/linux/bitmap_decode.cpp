// Loading a picture file. The decoder is chosen by the content, never by the name: BMP,
// GIF, PNG, TIFF and JPEG are read, nothing else. The stored values are kept as they are:
// no gamma, colour-profile or orientation change.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

#include "imaging/picture_header.h"
#include "imaging/linux/gp_objects.h"
#include "imaging/linux/native_path.h"
#include "imaging/linux/picture_decoders.h"

namespace korvanth::imaging {

PixelImage AllocatePicture(std::int64_t width, std::int64_t height, bool withAlpha) {
  return PixelImage::Create(width, height, withAlpha ? Layout::Argb32 : Layout::Rgb32);
}

void FillPixels(PixelImage& picture, std::uint32_t value) {
  for (std::int64_t y = 0; y < picture.height(); ++y)
    std::fill_n(reinterpret_cast<std::uint32_t*>(picture.row(y)), picture.width(), value);
}

RowBand RowBand::ClampedTo(std::int64_t height) const {
  RowBand clamped = *this;
  clamped.first = std::clamp<std::int64_t>(first, 0, std::max<std::int64_t>(height - 1, 0));
  const std::int64_t last = count > height ? height : std::max<std::int64_t>(count, 1);
  clamped.count = std::min(last, height - clamped.first);
  return clamped;
}

float DpiFromDensity(double density, double unitsPerInch) {
  const double dpi = density * unitsPerInch;
  return dpi > 0 && dpi < 1e6 ? static_cast<float>(dpi) : 96.0f;
}

namespace {

using Gdiplus::GpStatus;

// Only a regular file is opened, so a folder, a pipe or a device never blocks or feeds
// endless data; the statuses are GDI+'s own for each.
GpStatus StatusOfInputProblem(InputProblem problem) {
  switch (problem) {
    case InputProblem::None:
      return Gdiplus::Ok;
    case InputProblem::Missing:
      return Gdiplus::FileNotFound;
    case InputProblem::PermissionDenied:
    case InputProblem::IsFolder:
      return Gdiplus::AccessDenied;
    case InputProblem::NotRegular:
    case InputProblem::Other:
      break;
  }
  return Gdiplus::Win32Error;
}

GpStatus DecodeByContent(std::FILE* file, const RowBand& band, DecodedPicture& picture) {
  unsigned char signature[8] = {};
  const std::size_t got = std::fread(signature, 1, sizeof signature, file);
  std::rewind(file);
  switch (PictureTypeOfSignature(signature, got)) {
    case PictureType::Png:
      return DecodePng(file, picture, band);
    case PictureType::Jpeg:
      return DecodeJpeg(file, picture, band);
    case PictureType::Gif:
      return DecodeGif(file, picture, band);
    case PictureType::Tiff:
      return DecodeTiff(file, picture, band);
    case PictureType::Bmp:
      return DecodeBmp(file, picture, band);
    case PictureType::Unknown:
      break;
  }
  return Gdiplus::UnknownImageFormat;
}

}  // namespace

Gdiplus::GpStatus DecodeFile(const char16_t* filename, const RowBand& band, DecodedPicture& out) {
  const std::string native = NativePath(filename);
  const OpenedInput input = OpenInputFile(native.c_str());
  if (input.file == nullptr) return StatusOfInputProblem(input.problem);
  const GpStatus status = DecodeByContent(input.file, band, out);
  std::fclose(input.file);
  return status;
}

LinuxBitmap* NewBitmap(PixelImage pixels, float dpiX, float dpiY) {
  auto* created = new (std::nothrow) LinuxBitmap;
  if (created == nullptr) return nullptr;
  created->dpiX = dpiX;
  created->dpiY = dpiY;
  created->pixels = std::move(pixels);
  return created;
}

}  // namespace korvanth::imaging

namespace Gdiplus::DllExports {

GpStatus GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap) {
  if (filename == nullptr || bitmap == nullptr) return InvalidParameter;
  *bitmap = nullptr;
  korvanth::imaging::DecodedPicture picture;
  const GpStatus status = korvanth::imaging::DecodeFile(filename, {}, picture);
  if (status != Ok) return status;
  *bitmap = korvanth::imaging::NewBitmap(std::move(picture.pixels), picture.dpiX, picture.dpiY);
  return *bitmap != nullptr ? Ok : OutOfMemory;
}

}  // namespace Gdiplus::DllExports
