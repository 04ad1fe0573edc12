// Saving: the whole file is encoded in memory, then written beside the target and moved
// over it (korvanth::ReplaceFileWith), so a failed save leaves neither a partial file nor
// a lost old one.
#include <new>

#include "imaging/encode/writers.h"
#include "imaging/portable/codec_table.h"
#include "imaging/portable/encoders.h"
#include "imaging/save_file.h"

namespace {

using korvanth::imaging::EncoderKind;
using korvanth::imaging::PortableBitmap;

constexpr int kJpegQuality = 90;

bool Encode(EncoderKind kind, PortableBitmap& bitmap, std::vector<std::uint8_t>& out) {
  const auto rows = korvanth::imaging::RowsOf(bitmap);
  if (!rows) return false;
  switch (kind) {
    case EncoderKind::Png:
      return korvanth::imaging::WritePng(*rows, out);
    case EncoderKind::Jpeg:
      return korvanth::imaging::WriteJpeg(*rows, kJpegQuality, out);
    case EncoderKind::Bmp:
      return korvanth::encode::WriteBmp(*rows, out);
    case EncoderKind::Gif:
      return korvanth::encode::WriteGif(*rows, out);
    case EncoderKind::Tiff:
      return korvanth::encode::WriteTiff(*rows, out);
    default:
      return false;
  }
}

}  // namespace

namespace korvanth {

GpStatus EncodeImage(GpImage* image, const CLSID& encoder, std::vector<std::uint8_t>& bytes) {
  PortableBitmap* bitmap = imaging::AsBitmap(image);
  if (bitmap == nullptr || bitmap->disposed) return InvalidParameter;
  const imaging::CodecEntry* codec = nullptr;
  for (const auto& entry : imaging::kCodecs)
    if (entry.clsid == encoder) codec = &entry;
  if (codec == nullptr) return UnknownImageFormat;
  if (bitmap->lock.active) return WrongState;
  try {
    return Encode(codec->kind, *bitmap, bytes) ? Ok : GenericError;
  } catch (const std::bad_alloc&) {
    return OutOfMemory;
  }
}

}  // namespace korvanth

namespace Gdiplus::DllExports {

GpStatus GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* clsidEncoder,
                             const EncoderParameters*) {
  if (image == nullptr || filename == nullptr || clsidEncoder == nullptr) return InvalidParameter;
  std::vector<std::uint8_t> bytes;
  const GpStatus encoded = korvanth::EncodeImage(image, *clsidEncoder, bytes);
  if (encoded != Ok) return encoded;
  return korvanth::StatusForProblem(korvanth::ReplaceFileWith(filename, bytes));
}

}  // namespace Gdiplus::DllExports
