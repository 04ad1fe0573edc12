// Hand-built picture files for loader tests: headers declaring any size and layout,
// with little or no pixel data behind them. Written from the formats' layouts, not
// from the code under test.
#pragma once

#include <string>
#include <utility>
#include <vector>

std::string PngHeaderBytes(unsigned width, unsigned height, int bitDepth, int colourType);

// A start-of-frame `marker` (0xC0 sequential, 0xC2 progressive) with one
// (horizontal, vertical) sampling pair a component, then a scan of `scanComponents`.
std::string JpegHeaderBytes(int marker, unsigned width, unsigned height,
                            const std::vector<std::pair<int, int>>& sampling, int scanComponents);

std::string GifHeaderBytes(unsigned width, unsigned height);

// `height` < 0 stores the rows top-down.
std::string BmpHeaderBytes(int width, int height, int bitsPerPixel);

// A little-endian TIFF directory: deflate, `rowsPerStrip` rows a strip, or tiles of
// tileWidth x tileHeight when both are non-zero; a SampleFormat tag when not 1 (unsigned).
std::string TiffHeaderBytes(unsigned width, unsigned height, int samples, unsigned rowsPerStrip,
                            unsigned tileWidth = 0, unsigned tileHeight = 0, int bitsPerSample = 8,
                            int sampleFormat = 1);
