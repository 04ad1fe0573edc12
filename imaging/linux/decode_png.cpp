// PNG through libpng: rows are expanded straight into the picture's 32-bit pixels, so a
// 16-bit or interlaced file needs no second copy of the picture. A band of a
// non-interlaced file goes through one row buffer and stops after the band's last row.
#include <png.h>

#include <algorithm>
#include <csetjmp>

#include "imaging/picture_header.h"
#include "imaging/linux/picture_decoders.h"

namespace korvanth::imaging {

namespace {

void FailQuietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

struct PngReader {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngReader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

}  // namespace

Gdiplus::GpStatus DecodePng(std::FILE* file, DecodedPicture& out, const RowBand& asked) {
  PngReader reader;
  reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, FailQuietly, IgnoreWarning);
  if (reader.png == nullptr) return Gdiplus::OutOfMemory;
  reader.info = png_create_info_struct(reader.png);
  if (reader.info == nullptr) return Gdiplus::OutOfMemory;
  // A long jump back from libpng lands here: only `out` and this volatile survive it.
  volatile Gdiplus::GpStatus status = Gdiplus::GenericError;
  if (setjmp(png_jmpbuf(reader.png)) != 0) return status;

  png_init_io(reader.png, file);
  // The stored values as they are: no gamma or profile; limits come from our own bound.
  png_set_user_limits(reader.png, 0x7FFFFFFF, 0x7FFFFFFF);
  png_set_chunk_malloc_max(reader.png, 64 << 20);
  png_read_info(reader.png, reader.info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
  png_get_IHDR(reader.png, reader.info, &width, &height, &depth, &colourType, &interlace, nullptr,
               nullptr);
  const int channels = png_get_channels(reader.png, reader.info);
  if (!FitsMemoryBound({width, height, PngWorkingBytes(width, depth, channels)})) {
    status = Gdiplus::ValueOverflow;
    png_longjmp(reader.png, 1);
  }
  const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 ||
                     png_get_valid(reader.png, reader.info, PNG_INFO_tRNS) != 0;

  // Everything to 8-bit B, G, R, A in memory order: the layout of ARGB32 words.
  png_set_expand(reader.png);
  png_set_scale_16(reader.png);  // round(v / 257)
  png_set_gray_to_rgb(reader.png);
  png_set_bgr(reader.png);
  if (!alpha) png_set_filler(reader.png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(reader.png);
  png_read_update_info(reader.png, reader.info);
  if (png_get_rowbytes(reader.png, reader.info) != png_size_t{width} * 4)
    png_longjmp(reader.png, 1);

  const RowBand band = interlace == PNG_INTERLACE_NONE ? asked.ClampedTo(height) : RowBand{};
  const bool whole = band.first == 0 && band.count >= height;
  out.pixels = AllocatePicture(width, whole ? height : band.count, alpha);
  if (out.pixels.isNull()) {
    status = Gdiplus::OutOfMemory;
    png_longjmp(reader.png, 1);
  }
  if (whole) {
    const int passes = png_set_interlace_handling(reader.png);
    for (int pass = 0; pass < passes; ++pass)
      for (png_uint_32 y = 0; y < height; ++y) png_read_row(reader.png, out.pixels.row(y), nullptr);
    png_read_end(reader.png, nullptr);
  } else {
    // Rows above the band are decoded into its first row and written over; reading
    // stops after the band.
    out.firstRow = band.first;
    out.pictureHeight = height;
    for (std::int64_t y = 0; y < band.end(); ++y)
      png_read_row(reader.png, out.pixels.row(std::max<std::int64_t>(y - band.first, 0)), nullptr);
  }

  png_uint_32 xPerUnit = 0, yPerUnit = 0;
  int unit = 0;
  if (png_get_pHYs(reader.png, reader.info, &xPerUnit, &yPerUnit, &unit) != 0 &&
      unit == PNG_RESOLUTION_METER) {
    out.dpiX = DpiFromDensity(xPerUnit, 0.0254);
    out.dpiY = DpiFromDensity(yPerUnit, 0.0254);
  }
  return Gdiplus::Ok;
}

}  // namespace korvanth::imaging
