// JPEG through libjpeg into memory: the library's defaults (4:2:0, Huffman tables of the
// standard, no progression) at the quality asked for.
// jpeglib.h expects size_t and FILE to be declared.
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include <cmath>
#include <csetjmp>

#include "imaging/linux/encoders.h"

namespace korvanth::imaging {

namespace {

struct QuietErrors {
  jpeg_error_mgr base{};
  std::jmp_buf jump{};
};

void FailQuietly(j_common_ptr info) {
  std::longjmp(reinterpret_cast<QuietErrors*>(info->err)->jump, 1);
}
void SayNothing(j_common_ptr) {}

struct Compressor {
  jpeg_compress_struct info{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  ~Compressor() {
    jpeg_destroy_compress(&info);
    std::free(buffer);
  }
};

UINT16 DensityOf(float dpi) {
  const long rounded = std::lround(dpi);
  return static_cast<UINT16>(rounded < 1 ? 1 : rounded > 65535 ? 65535 : rounded);
}

}  // namespace

bool WriteJpeg(const imaging::encode::PixelRows& rows, int quality,
               std::vector<std::uint8_t>& out) {
  if (rows.width <= 0 || rows.height <= 0 || rows.width > JPEG_MAX_DIMENSION ||
      rows.height > JPEG_MAX_DIMENSION)
    return false;
  Compressor compressor;
  QuietErrors errors;
  jpeg_compress_struct& info = compressor.info;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = FailQuietly;
  errors.base.output_message = SayNothing;
  if (setjmp(errors.jump) != 0) return false;

  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &compressor.buffer, &compressor.size);
  info.image_width = static_cast<JDIMENSION>(rows.width);
  info.image_height = static_cast<JDIMENSION>(rows.height);
  // The rows' own byte order: B,G,R and a fourth byte that is not read.
  info.in_color_space = rows.bytesPerPixel == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
  info.input_components = rows.bytesPerPixel;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.density_unit = 1;
  info.X_density = DensityOf(rows.dpiX);
  info.Y_density = DensityOf(rows.dpiY);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rows.Row(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  out.assign(compressor.buffer, compressor.buffer + compressor.size);
  return true;
}

}  // namespace korvanth::imaging
