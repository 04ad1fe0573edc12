#include "convert/export_sheet.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "imaging/save_file.h"

namespace {

void WarnOnStandardError(const char* text) { std::fprintf(stderr, "%s\n", text); }

FormatWarningHandler gWarningHandler = WarnOnStandardError;

struct ExtensionRule {
  const char* extension;
  const WCHAR* mimeType;
};

constexpr ExtensionRule kExtensionRules[] = {
    {"bmp", WIDE_TEXT("image/bmp")},   {"gif", WIDE_TEXT("image/gif")},
    {"jpg", WIDE_TEXT("image/jpeg")},  {"jpeg", WIDE_TEXT("image/jpeg")},
    {"png", WIDE_TEXT("image/png")},   {"tif", WIDE_TEXT("image/tiff")},
    {"tiff", WIDE_TEXT("image/tiff")},
};

bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    char ca = *a;
    char cb = *b;
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<char>(cb - 'A' + 'a');
    if (ca != cb) return false;
    if (ca == '\0') return true;
  }
}

bool WideEquals(const WCHAR* a, const WCHAR* b) {
  if (a == nullptr || b == nullptr) return false;
  for (; *a != 0 || *b != 0; ++a, ++b) {
    if (*a != *b) return false;
  }
  return true;
}

}  // namespace

void SetFormatWarningHandler(FormatWarningHandler handler) {
  gWarningHandler = handler != nullptr ? handler : WarnOnStandardError;
}

int FindEncoderByMimeType(const WCHAR* mimeType, CLSID* clsid) {
  UINT count = 0;
  UINT size = 0;
  GdipGetImageEncodersSize(&count, &size);
  if (size == 0) return -1;

  auto* encoders = static_cast<ImageCodecInfo*>(std::malloc(size));
  if (encoders == nullptr) return -1;
  GdipGetImageEncoders(count, size, encoders);

  // Only whole records that fit the reported size are looked at.
  const UINT records =
      count < size / sizeof(ImageCodecInfo) ? count : size / sizeof(ImageCodecInfo);
  for (UINT i = 0; i < records; ++i) {
    if (WideEquals(encoders[i].MimeType, mimeType)) {
      *clsid = encoders[i].Clsid;
      std::free(encoders);
      return static_cast<int>(i);
    }
  }
  std::free(encoders);
  return -1;
}

CLSID EncoderForExtension(const char* extension) {
  CLSID clsid{};
  for (const ExtensionRule& rule : kExtensionRules) {
    if (EqualsIgnoringAsciiCase(extension, rule.extension)) {
      FindEncoderByMimeType(rule.mimeType, &clsid);
      return clsid;
    }
  }
  FindEncoderByMimeType(WIDE_TEXT("image/bmp"), &clsid);
  gWarningHandler(kBitmapFallbackWarning);
  return clsid;
}

SheetBuild BuildSheet(LayoutFormat format, ImageHandle& source, SelectionPoint origin) {
  const PixelSize size = SheetSize(format);
  SheetBuild build;
  build.sheet = ImageHandle::FromScan0(size.width, size.height, PixelFormat32bppARGB);
  build.sheet.Record(GdipBitmapSetResolution(build.sheet.bitmap(), 96.0f, 96.0f));
  source.Record(GdipBitmapSetResolution(source.bitmap(), 96.0f, 96.0f));
  build.graphics = GraphicsHandle::FromImage(build.sheet);

  for (const LayoutTableEntry& tile : LayoutTableFor(format)) {
    for (const QuarterPlacement& quarter : tile.quarters) {
      build.graphics.Record(GdipDrawImagePointRectI(
          build.graphics.graphics(), source.image(), kQuarterSize * quarter.destination.column,
          kQuarterSize * quarter.destination.row, origin.x + kQuarterSize * quarter.source.column,
          origin.y + kQuarterSize * quarter.source.row, kQuarterSize, kQuarterSize, UnitPixel));
    }
  }
  return build;
}

bool ExportSheet(const char* path) {
  if (!SourceImage.exists() || path == nullptr) return false;
  const char* dot = std::strrchr(path, '.');
  if (dot == nullptr) return false;

  // A path that does not fit the wide buffer cannot be saved; refuse it before anything
  // is shown or built.
  WCHAR widePath[kPathBufferSize];
  if (!WidenPath(path, widePath)) return false;

  const CLSID encoder = EncoderForExtension(dot + 1);

  // The warning may have let the user close the picture meanwhile.
  if (!SourceImage.exists()) return false;

  SheetBuild build = BuildSheet(CurrentLayoutFormat, *SourceImage.image, SelectionOrigin);
  const korvanth::SaveOutcome saved =
      korvanth::SaveImageFile(build.sheet.image(), widePath, encoder);
  build.sheet.Record(saved.status);
  return saved.ok();
}
