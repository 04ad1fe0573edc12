// GIF through giflib: the first frame, line by line, into a picture of the logical
// screen's size (grown to hold the frame where it reaches beyond the screen). The transparent index
// becomes alpha 0; the screen outside the frame is transparent too.
#include <gif_lib.h>

#include <algorithm>
#include <vector>

#include "imaging/byte_reader.h"
#include "imaging/picture_header.h"
#include "imaging/linux/picture_decoders.h"

namespace korvanth::imaging {

namespace {

int ReadFromFile(GifFileType* gif, GifByteType* buffer, int size) {
  return static_cast<int>(std::fread(buffer, 1, static_cast<std::size_t>(size),
                                     static_cast<std::FILE*>(gif->UserData)));
}

struct GifReader {
  GifFileType* gif = nullptr;
  ~GifReader() {
    int error = 0;
    if (gif != nullptr) DGifCloseFile(gif, &error);
  }
};

// Reads the records up to the first frame's description; false when there is none.
bool ReachFirstFrame(GifFileType* gif, int& transparentIndex) {
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &record) != GIF_OK) return false;
    if (record == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(gif) == GIF_OK;
    if (record != EXTENSION_RECORD_TYPE) return false;
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
      // A sub-block: its length byte, then that many bytes.
      ByteReader control(std::span<const std::uint8_t>(block, std::size_t{block[0]} + 1));
      control.Skip(1);
      const std::uint32_t flags = control.U8();
      control.Skip(2);
      const std::uint32_t index = control.U8();
      if (control.ok()) transparentIndex = (flags & 1) != 0 ? static_cast<int>(index) : -1;
    }
    while (block != nullptr)
      if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
  }
}

}  // namespace

Gdiplus::GpStatus DecodeGif(std::FILE* file, DecodedPicture& out, const RowBand&) {
  GifReader reader;
  int error = 0;
  reader.gif = DGifOpen(file, ReadFromFile, &error);
  if (reader.gif == nullptr) return Gdiplus::GenericError;
  GifFileType* gif = reader.gif;
  if (gif->SWidth <= 0 || gif->SHeight <= 0) return Gdiplus::GenericError;
  int transparentIndex = -1;
  if (!ReachFirstFrame(gif, transparentIndex)) return Gdiplus::GenericError;
  const GifImageDesc& frame = gif->Image;
  if (frame.Width <= 0 || frame.Height <= 0) return Gdiplus::GenericError;
  // The logical screen, grown to hold a first frame that reaches beyond it, as the header
  // reader judges it.
  const std::int64_t width =
      std::max<std::int64_t>(gif->SWidth, std::int64_t{frame.Left} + frame.Width);
  const std::int64_t height =
      std::max<std::int64_t>(gif->SHeight, std::int64_t{frame.Top} + frame.Height);
  if (!FitsMemoryBound({width, height, GifWorkingBytes(width)})) return Gdiplus::ValueOverflow;
  const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
  const bool coversScreen =
      frame.Left == 0 && frame.Top == 0 && frame.Width >= width && frame.Height >= height;
  const bool alpha = transparentIndex >= 0 || !coversScreen;

  out.pixels = AllocatePicture(width, height, alpha);
  if (out.pixels.isNull()) return Gdiplus::OutOfMemory;  // zeroed: transparent outside the frame

  // Palette as 32-bit words; indices beyond it read as opaque black.
  std::uint32_t palette[256];
  for (int i = 0; i < 256; ++i) {
    palette[i] = 0xFF000000u;
    if (colours != nullptr && i < colours->ColorCount) {
      const GifColorType& c = colours->Colors[i];
      palette[i] |= (std::uint32_t{c.Red} << 16) | (std::uint32_t{c.Green} << 8) | c.Blue;
    }
  }
  if (transparentIndex >= 0) palette[transparentIndex] = 0;

  // Interlaced frames store rows in four passes.
  std::vector<int> rowOrder;
  rowOrder.reserve(static_cast<std::size_t>(frame.Height));
  if (frame.Interlace) {
    const int starts[4] = {0, 4, 2, 1};
    const int steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = starts[pass]; y < frame.Height; y += steps[pass]) rowOrder.push_back(y);
  } else {
    for (int y = 0; y < frame.Height; ++y) rowOrder.push_back(y);
  }
  std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
  for (const int frameRow : rowOrder) {
    if (DGifGetLine(gif, line.data(), frame.Width) != GIF_OK) return Gdiplus::GenericError;
    const std::int64_t y = std::int64_t{frame.Top} + frameRow;
    if (y >= height) continue;
    auto* target = reinterpret_cast<std::uint32_t*>(out.pixels.row(y));
    for (int x = 0; x < frame.Width; ++x) {
      const std::int64_t column = std::int64_t{frame.Left} + x;
      if (column < width) target[column] = palette[line[static_cast<std::size_t>(x)]];
    }
  }
  return Gdiplus::Ok;
}

}  // namespace korvanth::imaging
