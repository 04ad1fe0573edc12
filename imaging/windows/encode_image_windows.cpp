// Encoding on Windows: the types the file-type table gives an own writer go through it over
// the bitmap's 32-bit ARGB pixels, so they are the files the other host writes; the others
// through GDI+'s encoder for their MIME type into a memory stream, a lossy one at the same
// quality as elsewhere.
#include <new>

#include "imaging/encoder_lookup.h"
#include "imaging/file_types.h"
#include "imaging/save_file.h"

namespace korvanth {

namespace {

// Only this file streams through GDI+ with encoder parameters.
using Gdiplus::EncoderParameterValueTypeLong;
using Gdiplus::DllExports::GdipSaveImageToStream;

// EncoderQuality, spelled out so no GUID library is needed.
constexpr GUID kEncoderQuality = {
    0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};

GpStatus WriteOwn(OwnWriter writer, GpImage* image, int workers, std::vector<std::uint8_t>& bytes) {
  auto* bitmap = static_cast<GpBitmap*>(image);
  UINT width = 0;
  UINT height = 0;
  PixelFormat format = 0;
  GpStatus status = GdipGetImageWidth(image, &width);
  if (status == Ok) status = GdipGetImageHeight(image, &height);
  if (status == Ok) status = GdipGetImagePixelFormat(image, &format);
  if (status != Ok) return status;
  imaging::encode::PixelRows rows;
  if (GdipGetImageHorizontalResolution(image, &rows.dpiX) != Ok) rows.dpiX = 96.0f;
  if (GdipGetImageVerticalResolution(image, &rows.dpiY) != Ok) rows.dpiY = 96.0f;

  const GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  BitmapData data{};
  status = GdipBitmapLockBits(bitmap, &all, ImageLockModeRead, PixelFormat32bppARGB, &data);
  if (status != Ok) return status;
  rows.scan0 = static_cast<const std::uint8_t*>(data.Scan0);
  rows.stride = data.Stride;
  rows.width = static_cast<int>(data.Width);
  rows.height = static_cast<int>(data.Height);
  rows.bytesPerPixel = 4;
  rows.hasAlpha = (format & PixelFormatAlpha) != 0;
  bool written = false;
  try {
    written = writer(rows, workers, bytes);
  } catch (const std::bad_alloc&) {
    GdipBitmapUnlockBits(bitmap, &data);
    return OutOfMemory;
  }
  GdipBitmapUnlockBits(bitmap, &data);
  return written ? Ok : GenericError;
}

// GDI+'s own encoder into a memory stream, then the stream's bytes.
GpStatus WriteWithGdiplus(bool lossy, GpImage* image, const CLSID& encoder,
                          std::vector<std::uint8_t>& bytes) {
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return OutOfMemory;
  ULONG quality = kLossyQuality;
  EncoderParameters parameters{};
  parameters.Count = 1;
  parameters.Parameter[0].Guid = kEncoderQuality;
  parameters.Parameter[0].NumberOfValues = 1;
  parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
  parameters.Parameter[0].Value = &quality;
  GpStatus status = GdipSaveImageToStream(image, stream, &encoder, lossy ? &parameters : nullptr);
  if (status == Ok) {
    STATSTG stat{};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(GetHGlobalFromStream(stream, &memory)) || stat.cbSize.QuadPart > 0x7FFFFFFF) {
      status = GenericError;
    } else {
      const auto size = static_cast<std::size_t>(stat.cbSize.QuadPart);
      const void* data = GlobalLock(memory);
      if (data == nullptr && size > 0) {
        status = OutOfMemory;
      } else {
        const auto* begin = static_cast<const std::uint8_t*>(data);
        bytes.assign(begin, begin + size);
      }
      GlobalUnlock(memory);
    }
  }
  stream->Release();
  return status;
}

}  // namespace

GpStatus EncodeImage(GpImage* image, const FileType& type, std::vector<std::uint8_t>& bytes,
                     int workers) {
  if (image == nullptr) return InvalidParameter;
  if (type.ownWriter != nullptr) return WriteOwn(type.ownWriter, image, workers, bytes);
  CLSID encoder{};
  if (FindEncoderByMimeType(type.mimeType, &encoder) < 0) return UnknownImageFormat;
  return WriteWithGdiplus(type.lossy, image, encoder, bytes);
}

}  // namespace korvanth
