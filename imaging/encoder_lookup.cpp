// Finds a GDI+ encoder by MIME type, reading only the whole records its list reports.
#include "imaging/encoder_lookup.h"

#include <cstdint>
#include <vector>

namespace korvanth {

namespace {

bool WideEquals(const WCHAR* a, const WCHAR* b) {
  if (a == nullptr || b == nullptr) return false;
  for (; *a != 0 || *b != 0; ++a, ++b) {
    if (*a != *b) return false;
  }
  return true;
}

}  // namespace

int FindEncoderByMimeType(const WCHAR* mimeType, CLSID* clsid) {
  UINT count = 0;
  UINT size = 0;
  if (GdipGetImageEncodersSize(&count, &size) != Ok || size == 0) return -1;
  std::vector<std::uint8_t> buffer(size);
  auto* encoders = reinterpret_cast<ImageCodecInfo*>(buffer.data());
  if (GdipGetImageEncoders(count, size, encoders) != Ok) return -1;

  // Only whole records that fit the reported size are looked at.
  const UINT records =
      count < size / sizeof(ImageCodecInfo) ? count : size / sizeof(ImageCodecInfo);
  for (UINT i = 0; i < records; ++i) {
    if (WideEquals(encoders[i].MimeType, mimeType)) {
      *clsid = encoders[i].Clsid;
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace korvanth
