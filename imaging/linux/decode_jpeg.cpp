// JPEG through libjpeg: scanlines are converted straight into the picture's pixels.
// libjpeg's own memory limit is set to what the bound allows its working memory, so a
// picture whose coefficient buffers would not fit is refused before they are taken.
// jpeglib.h expects size_t and FILE to be declared.
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <vector>

#include "imaging/picture_header.h"
#include "imaging/linux/picture_decoders.h"

namespace korvanth::imaging {

namespace {

struct QuietErrors {
  jpeg_error_mgr base{};
  std::jmp_buf jump{};
  bool cutShort = false;
};

void FailQuietly(j_common_ptr info) {
  std::longjmp(reinterpret_cast<QuietErrors*>(info->err)->jump, 1);
}

void NoteMessage(j_common_ptr info, int level) {
  // A warning about data ending early (the file, or the data before a marker): the
  // stored picture is incomplete.
  const int code = info->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
    reinterpret_cast<QuietErrors*>(info->err)->cutShort = true;
}

void SayNothing(j_common_ptr) {}

struct Decompressor {
  jpeg_decompress_struct info{};
  ~Decompressor() { jpeg_destroy_decompress(&info); }
};

// Adobe files store CMYK inverted: a stored value is the share of white.
void CmykRowToRgb(const JSAMPLE* in, std::uint32_t* out, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x, in += 4) {
    const unsigned k = in[3];
    out[x] = 0xFF000000u | ((in[0] * k / 255) << 16) | ((in[1] * k / 255) << 8) | (in[2] * k / 255);
  }
}

}  // namespace

Gdiplus::GpStatus DecodeJpeg(std::FILE* file, DecodedPicture& out, const RowBand& asked) {
  Decompressor decompressor;
  QuietErrors errors;
  jpeg_decompress_struct& info = decompressor.info;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = FailQuietly;
  errors.base.emit_message = NoteMessage;
  errors.base.output_message = SayNothing;
  // A long jump back from libjpeg lands here: only `out`, `rowBuffer` and `errors` are
  // used afterwards. Its memory limit refuses by asking for backing store it lacks.
  std::vector<JSAMPLE> rowBuffer;
  if (setjmp(errors.jump) != 0) {
    if (errors.base.msg_code == JERR_NO_BACKING_STORE) return Gdiplus::ValueOverflow;
    return errors.base.msg_code == JERR_OUT_OF_MEMORY ? Gdiplus::OutOfMemory
                                                      : Gdiplus::GenericError;
  }

  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return Gdiplus::GenericError;

  JpegComponentSampling sampling[4];
  const int components = info.num_components;
  if (components < 1 || components > 4) return Gdiplus::GenericError;
  for (int i = 0; i < components; ++i)
    sampling[i] = {info.comp_info[i].h_samp_factor, info.comp_info[i].v_samp_factor};
  const bool buffered = info.progressive_mode || info.comps_in_scan < info.num_components;
  const DecodeNeeds needs{
      info.image_width, info.image_height,
      JpegWorkingBytes(info.image_width, info.image_height, buffered, sampling, components)};
  if (!FitsMemoryBound(needs)) return Gdiplus::ValueOverflow;
  // libjpeg keeps to this too: an estimate that fell short still cannot run away.
  info.mem->max_memory_to_use = static_cast<long>(needs.workingBytes + (std::int64_t{8} << 20));

  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  // A single-scan file decodes the band only: the rows above are skipped (their entropy
  // data is still read through) and reading stops after the band; where no component is
  // subsampled, only the blocks under the band's columns go through the inverse transform.
  const RowBand band = buffered ? RowBand{} : asked.ClampedTo(info.image_height);
  // Cropped rows come out as the whole picture's only where no component is upsampled:
  // the smoothing of subsampled chroma differs along the crop's block rows.
  bool upsampled = false;
  for (int i = 0; i < components; ++i)
    upsampled |= info.comp_info[i].v_samp_factor != info.max_v_samp_factor ||
                 info.comp_info[i].h_samp_factor != info.max_h_samp_factor;
  const bool narrow = !upsampled;
  const std::int64_t left =
      narrow ? std::clamp<std::int64_t>(band.left, 0, info.image_width - 1) : 0;
  const std::int64_t width =
      narrow ? std::clamp<std::int64_t>(band.width, 1, std::int64_t{info.image_width} - left)
             : info.image_width;
  const bool whole =
      band.first == 0 && band.count >= info.image_height && left == 0 && width >= info.image_width;
  jpeg_start_decompress(&info);
  if (info.output_width != info.image_width || info.output_height != info.image_height)
    return Gdiplus::GenericError;
  if (!whole) {
    out.firstRow = band.first;
    out.pictureHeight = info.image_height;
  }
  if (left > 0 || width < info.image_width) {
    JDIMENSION xOffset = static_cast<JDIMENSION>(left);
    JDIMENSION cropWidth = static_cast<JDIMENSION>(width);
    jpeg_crop_scanline(&info, &xOffset, &cropWidth);  // widened to whole blocks
    out.firstColumn = xOffset;
    out.pictureWidth = info.image_width;
  }
  out.pixels = AllocatePicture(info.output_width, whole ? info.image_height : band.count, false);
  if (out.pixels.isNull()) return Gdiplus::OutOfMemory;
  if (cmyk) rowBuffer.resize(std::size_t{info.output_width} * 4);
  const JDIMENSION endRow = whole ? info.output_height : static_cast<JDIMENSION>(band.end());
  if (band.first > 0 && jpeg_skip_scanlines(&info, static_cast<JDIMENSION>(band.first)) !=
                            static_cast<JDIMENSION>(band.first))
    return Gdiplus::GenericError;
  while (info.output_scanline < endRow) {
    std::uint8_t* line = out.pixels.row(info.output_scanline - out.firstRow);
    JSAMPROW row = cmyk ? rowBuffer.data() : line;
    if (jpeg_read_scanlines(&info, &row, 1) != 1) return Gdiplus::GenericError;
    if (cmyk)
      CmykRowToRgb(rowBuffer.data(), reinterpret_cast<std::uint32_t*>(line), info.output_width);
  }
  if (errors.cutShort) return Gdiplus::GenericError;
  if (whole) jpeg_finish_decompress(&info);
  if (errors.cutShort) return Gdiplus::GenericError;

  if (info.saw_JFIF_marker && info.density_unit == 1) {
    out.dpiX = DpiFromDensity(info.X_density, 1);
    out.dpiY = DpiFromDensity(info.Y_density, 1);
  } else if (info.saw_JFIF_marker && info.density_unit == 2) {
    out.dpiX = DpiFromDensity(info.X_density, 2.54);
    out.dpiY = DpiFromDensity(info.Y_density, 2.54);
  }
  return Gdiplus::Ok;
}

}  // namespace korvanth::imaging
