// What a picture file's header says before anything is decoded: the type named by the
// content, the picture's size and the memory its decoding takes. The admission rule
// here is the one every loader applies, on every host, before a decoder starts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "imaging/input_file.h"

namespace korvanth::imaging {

enum class PictureType { Unknown, Bmp, Gif, Png, Jpeg, Tiff };

// The type named by a file's first bytes; Unknown for anything else (icons, netpbm,
// WebP, ...: those are not read).
PictureType PictureTypeOfSignature(const unsigned char* bytes, std::size_t size);

// The memory one decode holds at its peak: the picture's own 32-bit pixels plus what
// the decoder keeps besides them (coefficients, rows, strips, tiles).
struct DecodeNeeds {
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::int64_t workingBytes = 0;
};

// The largest picture held: its 32-bit pixels stay within 1 GiB. A 32-bit Windows
// process has too little address space for that beside GDI+'s decoding: under 32-bit
// Wine its bitmaps stop fitting at 534 MB of pixels (11552 x 11552 loads, 11568 x 11568
// does not), so there the limit is 448 MiB, with room for real Windows' own layout.
#if defined(_WIN32) && !defined(_WIN64)
inline constexpr std::int64_t kMaxPictureBytes = std::int64_t{448} << 20;
#else
inline constexpr std::int64_t kMaxPictureBytes = std::int64_t{1} << 30;
#endif
// What a decoder may hold beyond the picture: one and a half times the picture's bytes
// (a progressive 4:4:4 JPEG keeps 6 bytes of coefficients a pixel) plus this, and never
// so much that picture and decoder together pass kMaxDecodeBytes. With the program's own
// 20 to 35 MiB beside them, a load peaks below 2.5 times the picture's bytes plus 64 MiB
// and below 1.5 GiB.
inline constexpr std::int64_t kDecoderAllowance = std::int64_t{28} << 20;
inline constexpr std::int64_t kMaxDecodeBytes = (std::int64_t{3} << 29) - (std::int64_t{64} << 20);

// True when the decode stays within the bound: the picture's bytes at most
// kMaxPictureBytes, the decoder's working memory within its allowance above.
bool FitsMemoryBound(const DecodeNeeds& needs);

// Working memory of the format decoders, given what their headers say.
struct JpegComponentSampling {
  int horizontal = 1;
  int vertical = 1;
};
// A progressive or multi-scan JPEG keeps every DCT coefficient (2 bytes each, in blocks
// padded to whole MCUs); a single-scan one only a band of MCU rows.
std::int64_t JpegWorkingBytes(std::int64_t width, std::int64_t height, bool wholeImageBuffered,
                              const JpegComponentSampling* components, int componentCount);
// Rows of up to 16-bit samples: the decoder's current and previous row.
std::int64_t PngWorkingBytes(std::int64_t width, int bitDepth, int channels);
// One row of indices.
std::int64_t GifWorkingBytes(std::int64_t width);
// Pictures of 8 bits a pixel or fewer are unpacked at a byte a pixel before widening.
std::int64_t BmpWorkingBytes(std::int64_t width, std::int64_t height, int bitsPerPixel);
// A tiled TIFF decodes a tile at a time (compressed and decoded); a striped one reads a
// strip's compressed bytes (never more than the file holds) and decodes row by row.
std::int64_t TiffWorkingBytes(std::int64_t width, int bitsPerSample, int samplesPerPixel,
                              bool tiled, std::int64_t tileWidth, std::int64_t tileHeight,
                              bool compressed, std::int64_t rowsPerStrip, std::int64_t fileBytes);

enum class HeaderVerdict {
  Unknown,      // not a type that is read
  Damaged,      // a known type whose header cannot be read to the end
  Unsupported,  // a valid header of a kind of the type that is not read (2-bit BMP, ...)
  TooLarge,     // decoding would exceed the memory bound
  Fits
};

struct PictureHeader {
  bool opened = false;  // false: not a regular file that could be opened and read
  int openError = 0;    // then the system's error number (0 when the path is no file)
  InputProblem openProblem = InputProblem::None;  // and what kept it from being opened
  PictureType type = PictureType::Unknown;
  HeaderVerdict verdict = HeaderVerdict::Unknown;
  DecodeNeeds needs;
};

// Reads the header of the open file from its start (the position afterwards is
// unspecified) and judges it.
PictureHeader ReadPictureHeader(std::FILE* file);

// The same for a path in the host's narrow encoding. Anything but a regular file that
// opens and reads is left unopened (and never waited on), with the reason.
PictureHeader ReadPictureHeaderOfPath(const char* path);
// The same for a name given both ways, `path` in UTF-8 and `wide` in UTF-16: Windows opens
// the UTF-16 name (its C library's narrow functions stop at 260 bytes), other hosts the
// bytes.
PictureHeader ReadPictureHeaderOfNames(const char* path, const char16_t* wide);

// What every loader asks before a decoder starts, on every host: the header judged as
// above and, when it fits, the compressed data read through to its end
// (picture_data.h). Damaged data makes the verdict Damaged; data whose walk needs more
// memory than there is, TooLarge.
PictureHeader JudgePictureOfNames(const char* path, const char16_t* wide);

}  // namespace korvanth::imaging
