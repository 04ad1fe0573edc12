// A picture's compressed data read through to its end, without decoding its pixels: the
// second half of the check every loader runs on every host before a decoder starts
// (picture_header.h judges the header). A file whose data is damaged or cut short is
// damaged on both hosts alike, whatever one host's decoder would have made of it: the
// Windows decoders forgive what ours refuse, and the other way round, so neither may
// decide.
#pragma once

#include <cstdio>

#include "imaging/byte_reader.h"
#include "imaging/picture_header.h"

namespace korvanth::imaging {

enum class DataVerdict {
  Whole,
  Damaged,
  TooLarge,  // the walk itself needs more memory than there is
};

// Walks the data of an open file of the given type from its start (the position
// afterwards is unspecified). TIFF, and BMP stored plainly, are left to the decoders:
// Whole.
DataVerdict CheckPictureData(std::FILE* file, PictureType type);

// The formats' walks over a file from its start.
// RLE8 and RLE4 BMP: the runs end themselves before the file does (bmp_runs.h).
bool BmpRunsAreWhole(FileReader& file);
// GIF: every record up to the trailer, and every frame's LZW codes giving all its pixels.
bool GifDataIsWhole(FileReader& file);
// PNG: every chunk up to IEND, each with its CRC right.
bool PngChunksAreWhole(FileReader& file);
// JPEG: every segment up to EOI, and every Huffman-coded scan decoding to its last block
// with codes its tables hold, its restart markers in their places.
DataVerdict JpegScansAreWhole(FileReader& file);

}  // namespace korvanth::imaging
