// The file writers of the project's own, the same code on both hosts, so PNG, BMP, GIF and
// TIFF files are byte for byte the same wherever the sheet is saved. Each fills `out`
// with the whole file and returns false (leaving `out` unspecified) when the format cannot
// hold the picture.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/encode/pixel_rows.h"

namespace korvanth::imaging::encode {

// Dots per metre for a resolution in dots per inch, as the file formats store it.
int DotsPerMetre(float dpi);

// 8-bit RGBA when the rows have alpha, RGB otherwise, unfiltered, with the resolution in
// pHYs. Large pictures are deflated in bands on `workers` threads (every core without it);
// the bytes are the same for any number.
bool WritePng(const PixelRows& rows, std::vector<std::uint8_t>& out);
bool WritePng(const PixelRows& rows, int workers, std::vector<std::uint8_t>& out);

// 32 bits a pixel with alpha (BITMAPV5HEADER, bit-field masks) when the rows have alpha,
// otherwise plain 24-bit.
bool WriteBmp(const PixelRows& rows, std::vector<std::uint8_t>& out);

// One uncompressed strip of RGB or RGBA (unassociated alpha) samples.
bool WriteTiff(const PixelRows& rows, std::vector<std::uint8_t>& out);

// Exact with at most 256 colours (fully transparent pixels share the transparent index),
// median-cut quantized beyond; translucent pixels become opaque.
bool WriteGif(const PixelRows& rows, std::vector<std::uint8_t>& out);

}  // namespace korvanth::imaging::encode
