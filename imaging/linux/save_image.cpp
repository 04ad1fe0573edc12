// Saving: the whole file is encoded in memory, then written beside the target and moved
// over it (korvanth::ReplaceFileWith), so a failed save leaves neither a partial file nor
// a lost old one.
#include <new>

#include "imaging/encoder_lookup.h"
#include "imaging/file_types.h"
#include "imaging/linux/codec_table.h"
#include "imaging/linux/encoders.h"
#include "imaging/save_file.h"

namespace korvanth {

namespace {

using imaging::CodecEntry;
using imaging::LinuxBitmap;

constexpr int kBestQuality = 100;  // for a lossless encoder, which reads no quality

const CodecEntry* CodecWithClsid(const CLSID& encoder) {
  for (const CodecEntry& entry : imaging::kCodecs)
    if (entry.clsid == encoder) return &entry;
  return nullptr;
}

// The host's encoder for a type without an own writer, found the way GDI+ finds it.
imaging::LinuxEncoder HostEncoderFor(const FileType& type) {
  CLSID clsid{};
  if (FindEncoderByMimeType(type.mimeType, &clsid) < 0) return nullptr;
  const CodecEntry* codec = CodecWithClsid(clsid);
  return codec != nullptr ? codec->encode : nullptr;
}

bool Encode(const FileType& type, imaging::LinuxEncoder hostEncoder, LinuxBitmap& bitmap,
            int workers, std::vector<std::uint8_t>& out) {
  const auto rows = imaging::RowsOf(bitmap);
  if (!rows) return false;
  if (type.ownWriter != nullptr) return type.ownWriter(*rows, workers, out);
  return hostEncoder(*rows, type.lossy ? kLossyQuality : kBestQuality, out);
}

}  // namespace

GpStatus EncodeImage(GpImage* image, const FileType& type, std::vector<std::uint8_t>& bytes,
                     int workers) {
  LinuxBitmap* bitmap = imaging::AsBitmap(image);
  if (bitmap == nullptr || bitmap->disposed) return InvalidParameter;
  const imaging::LinuxEncoder hostEncoder =
      type.ownWriter != nullptr ? nullptr : HostEncoderFor(type);
  if (type.ownWriter == nullptr && hostEncoder == nullptr) return UnknownImageFormat;
  if (bitmap->lock.active) return WrongState;
  try {
    return Encode(type, hostEncoder, *bitmap, workers, bytes) ? Ok : GenericError;
  } catch (const std::bad_alloc&) {
    return OutOfMemory;
  }
}

}  // namespace korvanth

namespace Gdiplus::DllExports {

// An encoder's file type is the one with its MIME type, written as EncodeImage writes it.
GpStatus GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* clsidEncoder,
                             const EncoderParameters*) {
  if (image == nullptr || filename == nullptr || clsidEncoder == nullptr) return InvalidParameter;
  const korvanth::imaging::LinuxBitmap* bitmap = korvanth::imaging::AsBitmap(image);
  if (bitmap == nullptr || bitmap->disposed) return InvalidParameter;
  const korvanth::imaging::CodecEntry* codec = korvanth::CodecWithClsid(*clsidEncoder);
  const korvanth::FileType* type =
      codec != nullptr ? korvanth::FileTypeForMimeType(codec->mimeType) : nullptr;
  if (type == nullptr) return UnknownImageFormat;
  std::vector<std::uint8_t> bytes;
  const GpStatus encoded = korvanth::EncodeImage(image, *type, bytes);
  if (encoded != Ok) return encoded;
  return korvanth::StatusForProblem(korvanth::ReplaceFileWith(filename, bytes));
}

}  // namespace Gdiplus::DllExports
