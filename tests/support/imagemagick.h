// Pictures written by ImageMagick, an independent writer, from raw 8-bit samples.
#pragma once

#include <QImage>

#include <string>
#include <vector>

// R, G, B (and A) bytes of every pixel, row by row.
std::string RawSamples(const QImage& image, bool withAlpha);

// Runs `convert -size WxH -depth 8 rgba:RAW|rgb:RAW OPTIONS... OUTPUT` on `image`'s
// samples (kept in `scratchRaw`); true when it succeeded.
bool WriteWithImageMagick(const QImage& image, bool withAlpha, const std::string& scratchRaw,
                          const std::vector<std::string>& options, const std::string& output);
