// PNG: unfiltered rows deflated at level 5 in bands of rows, the bands on every core.
// Each band is its own raw deflate stream primed with the 32 KiB of rows before it, ended on
// a byte boundary (a sync flush), so the bands joined in order are the one zlib stream the
// file holds, and the bytes do not depend on how many cores did the work.
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <new>

#include "imaging/encode/byte_writer.h"
#include "imaging/encode/writers.h"
#include "imaging/ordered_workers.h"

namespace korvanth::imaging::encode {

namespace {

// Sheet-sized pictures are one band, written on the calling thread.
constexpr std::size_t kBandBytes = std::size_t{1} << 20;
constexpr std::size_t kWindowBytes = std::size_t{1} << 15;
// Level 5 rather than 6: on tile sheets it takes two thirds of the time for 10 % more bytes
// (the sample's Terrain2 sheet: 2.8 ms and 33.6 KB against 4.2 ms and 30.2 KB).
constexpr int kLevel = 5;
// The zlib header for a 32 KiB window at levels 2 to 5 (FLEVEL 1); 0x785E is a multiple of 31.
constexpr std::array<std::uint8_t, 2> kZlibHeader = {0x78, 0x5E};

struct Band {
  int firstRow = 0;
  int endRow = 0;
  std::vector<std::uint8_t> deflated;
  uLong adler = 1;
  std::size_t rawBytes = 0;
  bool failed = false;
};

// One row as the file holds it: the filter byte (none), then R,G,B(,A) for each pixel.
void FilteredRow(const PixelRows& rows, int y, bool alpha, std::uint8_t* out) {
  const std::uint8_t* in = rows.Row(y);
  *out++ = 0;
  if (alpha) {
    // B,G,R,A to R,G,B,A: the red and blue bytes trade places in each 32-bit pixel.
    for (int x = 0; x < rows.width; ++x, in += 4, out += 4) {
      std::uint32_t pixel;
      std::memcpy(&pixel, in, 4);
      pixel = (pixel & 0xFF00FF00u) | (pixel >> 16 & 0xFFu) | (pixel & 0xFFu) << 16;
      std::memcpy(out, &pixel, 4);
    }
    return;
  }
  for (int x = 0; x < rows.width; ++x, in += rows.bytesPerPixel) {
    *out++ = in[2];
    *out++ = in[1];
    *out++ = in[0];
  }
}

// Deflates the band's rows, one at a time through small buffers (a sheet is one band and
// should cost no more memory than its deflate state), into a raw stream: the last band
// finishes the stream, the others end on a byte boundary.
bool DeflateBand(const PixelRows& rows, bool alpha, std::size_t rowBytes, bool last, Band& band) {
  z_stream stream{};
  if (deflateInit2(&stream, kLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
  struct End {
    z_stream& stream;
    ~End() { deflateEnd(&stream); }
  } end{stream};

  // Deflate's window starts with the rows before the band, as one serial stream would.
  if (band.firstRow > 0) {
    const int primeRows = static_cast<int>(std::min<std::size_t>(
        static_cast<std::size_t>(band.firstRow), (kWindowBytes + rowBytes - 1) / rowBytes));
    std::vector<std::uint8_t> prime(static_cast<std::size_t>(primeRows) * rowBytes);
    for (int i = 0; i < primeRows; ++i)
      FilteredRow(rows, band.firstRow - primeRows + i, alpha,
                  prime.data() + static_cast<std::size_t>(i) * rowBytes);
    const std::size_t window = std::min(prime.size(), kWindowBytes);
    if (deflateSetDictionary(&stream, prime.data() + prime.size() - window,
                             static_cast<uInt>(window)) != Z_OK)
      return false;
  }

  std::vector<std::uint8_t> row(rowBytes);
  std::array<std::uint8_t, 1 << 14> chunk;
  int result = Z_OK;
  for (int y = band.firstRow; y < band.endRow; ++y) {
    FilteredRow(rows, y, alpha, row.data());
    band.adler = adler32_z(band.adler, row.data(), rowBytes);
    const int flush = y + 1 < band.endRow ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
    stream.next_in = row.data();
    stream.avail_in = static_cast<uInt>(rowBytes);
    do {
      stream.next_out = chunk.data();
      stream.avail_out = static_cast<uInt>(chunk.size());
      result = deflate(&stream, flush);
      if (result == Z_STREAM_ERROR) return false;
      band.deflated.insert(band.deflated.end(), chunk.data(),
                           chunk.data() + (chunk.size() - stream.avail_out));
    } while (stream.avail_out == 0);
  }
  band.rawBytes = static_cast<std::size_t>(band.endRow - band.firstRow) * rowBytes;
  return last ? result == Z_STREAM_END : stream.avail_in == 0;
}

void Chunk(ByteWriter& out, const char (&type)[5], const std::vector<std::uint8_t>& data) {
  out.U32BE(static_cast<std::uint32_t>(data.size()));
  const auto* typeBytes = reinterpret_cast<const std::uint8_t*>(type);
  out.Bytes(typeBytes, 4);
  out.Bytes(data.data(), data.size());
  uLong crc = crc32_z(0, typeBytes, 4);
  // zlib takes a null buffer as a request for the initial value, so an empty chunk adds none.
  if (!data.empty()) crc = crc32_z(crc, data.data(), data.size());
  out.U32BE(static_cast<std::uint32_t>(crc));
}

}  // namespace

bool WritePng(const PixelRows& rows, std::vector<std::uint8_t>& out) {
  return WritePng(rows, AvailableCores(), out);
}

bool WritePng(const PixelRows& rows, int workers, std::vector<std::uint8_t>& out) {
  if (rows.width <= 0 || rows.height <= 0) return false;
  const bool alpha = rows.WithAlpha();
  const std::size_t channels = alpha ? 4 : 3;
  const auto width = static_cast<std::size_t>(rows.width);
  // A row as deflate sees it, and the band's input, must fit zlib's 32-bit counts.
  if (width > (std::numeric_limits<uInt>::max() / 2 - 1) / channels) return false;
  const std::size_t rowBytes = 1 + width * channels;

  const auto rowsPerBand = static_cast<int>(
      std::clamp<std::size_t>(kBandBytes / rowBytes, 1, static_cast<std::size_t>(rows.height)));
  const int bandCount = (rows.height + rowsPerBand - 1) / rowsPerBand;
  std::vector<Band> bands(static_cast<std::size_t>(bandCount));
  for (int i = 0; i < bandCount; ++i) {
    bands[static_cast<std::size_t>(i)].firstRow = i * rowsPerBand;
    bands[static_cast<std::size_t>(i)].endRow = std::min(rows.height, (i + 1) * rowsPerBand);
  }

  out.clear();
  // Room for the whole file even when deflate cannot shorten the rows (its stored blocks
  // add a few bytes every few KiB; each band a flush marker and a chunk header), reserved
  // up front so that a large file never grows by copying; the pages never written cost
  // no memory.
  const std::size_t rawBytes = rowBytes * static_cast<std::size_t>(rows.height);
  out.reserve(rawBytes + rawBytes / 1024 + static_cast<std::size_t>(bandCount) * 64 + 128);
  ByteWriter writer(out);
  static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const std::uint8_t byte : kSignature) writer.U8(byte);
  std::vector<std::uint8_t> fields;
  ByteWriter field(fields);
  field.U32BE(static_cast<std::uint32_t>(rows.width));
  field.U32BE(static_cast<std::uint32_t>(rows.height));
  field.U8(8);              // bits per sample
  field.U8(alpha ? 6 : 2);  // RGBA or RGB
  field.Zeros(3);           // deflate, adaptive filtering (each row's own byte), no interlace
  Chunk(writer, "IHDR", fields);
  fields.clear();
  field.U32BE(static_cast<std::uint32_t>(DotsPerMetre(rows.dpiX)));
  field.U32BE(static_cast<std::uint32_t>(DotsPerMetre(rows.dpiY)));
  field.U8(1);  // dots per metre
  Chunk(writer, "pHYs", fields);

  // Each band's deflated bytes go into the file as soon as the bands before it are in, one
  // IDAT chunk each: the zlib header leads the first, the stream's Adler-32 trails the last.
  bool failed = false;
  uLong adler = 1;
  const auto work = [&](int i) {
    Band& band = bands[static_cast<std::size_t>(i)];
    try {
      band.failed = !DeflateBand(rows, alpha, rowBytes, i + 1 == bandCount, band);
    } catch (const std::bad_alloc&) {
      band.failed = true;
    }
  };
  const auto finished = [&](int i) {
    Band& band = bands[static_cast<std::size_t>(i)];
    failed = failed || band.failed;
    if (failed) return;
    adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.rawBytes));
    if (i == 0) band.deflated.insert(band.deflated.begin(), kZlibHeader.begin(), kZlibHeader.end());
    if (i + 1 == bandCount) ByteWriter(band.deflated).U32BE(static_cast<std::uint32_t>(adler));
    Chunk(writer, "IDAT", band.deflated);
    std::vector<std::uint8_t>().swap(band.deflated);
  };
  RunInOrder(
      bandCount, workers, [](int) {}, work, finished);
  if (failed) return false;
  Chunk(writer, "IEND", {});
  return true;
}

}  // namespace korvanth::imaging::encode
