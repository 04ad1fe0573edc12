// Hand-built PNG, JPEG, GIF, BMP and TIFF headers declaring any size, for loader tests.
#include "support/picture_bytes.h"

#include <algorithm>

#include <cstdint>

namespace {

std::string Be(std::uint32_t v, int bytes) {
  std::string s;
  for (int i = bytes - 1; i >= 0; --i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

std::string Le(std::uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : bytes) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

}  // namespace

std::string PngHeaderBytes(unsigned width, unsigned height, int bitDepth, int colourType) {
  const std::string ihdr = "IHDR" + Be(width, 4) + Be(height, 4) + static_cast<char>(bitDepth) +
                           static_cast<char>(colourType) + std::string(3, '\0');
  const std::string idat = std::string("IDAT") + std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8);
  return std::string("\x89PNG\r\n\x1a\n", 8) + Be(13, 4) + ihdr + Be(Crc32(ihdr), 4) + Be(8, 4) +
         idat + Be(Crc32(idat), 4) + Be(0, 4) + "IEND" + Be(Crc32("IEND"), 4);
}

std::string JpegHeaderBytes(int marker, unsigned width, unsigned height,
                            const std::vector<std::pair<int, int>>& sampling, int scanComponents) {
  std::string frame =
      std::string(1, '\x08') + Be(height, 2) + Be(width, 2) + static_cast<char>(sampling.size());
  for (std::size_t i = 0; i < sampling.size(); ++i)
    frame += std::string(1, static_cast<char>(i + 1)) +
             static_cast<char>(sampling[i].first * 16 + sampling[i].second) + '\0';
  std::string scan(1, static_cast<char>(scanComponents));
  for (int i = 0; i < scanComponents; ++i) scan += std::string(1, static_cast<char>(i + 1)) + '\0';
  scan += std::string("\x00\x3f\x00", 3);
  return std::string("\xFF\xD8", 2) + '\xFF' + static_cast<char>(marker) +
         Be(static_cast<std::uint32_t>(frame.size() + 2), 2) + frame + std::string("\xFF\xDA", 2) +
         Be(static_cast<std::uint32_t>(scan.size() + 2), 2) + scan + std::string(16, '\0') +
         std::string("\xFF\xD9", 2);
}

std::string GifHeaderBytes(unsigned width, unsigned height) {
  // Screen, a two-colour table, one 1 x 1 frame of index 0, end.
  return "GIF89a" + Le(width, 2) + Le(height, 2) + std::string("\x80\x00\x00", 3) +
         std::string("\x00\x00\x00\xff\xff\xff", 6) + ',' + Le(0, 2) + Le(0, 2) + Le(1, 2) +
         Le(1, 2) + '\0' + std::string("\x02\x02\x44\x01\x00;", 6);
}

std::string BmpHeaderBytes(int width, int height, int bitsPerPixel) {
  const int paletteBytes = bitsPerPixel <= 8 ? 4 << bitsPerPixel : 0;
  const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(paletteBytes);
  return "BM" + Le(offset + 16, 4) + Le(0, 4) + Le(offset, 4) + Le(40, 4) +
         Le(static_cast<std::uint32_t>(width), 4) + Le(static_cast<std::uint32_t>(height), 4) +
         Le(1, 2) + Le(static_cast<std::uint32_t>(bitsPerPixel), 2) + Le(0, 4) + Le(0, 4) +
         Le(2835, 4) + Le(2835, 4) + Le(0, 4) + Le(0, 4) + std::string(paletteBytes, '\0') +
         std::string(16, '\x7f');
}

std::string TiffHeaderBytes(unsigned width, unsigned height, int samples, unsigned rowsPerStrip,
                            unsigned tileWidth, unsigned tileHeight, int bitsPerSample,
                            int sampleFormat) {
  const auto bps = static_cast<std::uint32_t>(bitsPerSample);
  const bool tiled = tileWidth != 0 && tileHeight != 0;
  std::vector<std::pair<int, std::string>> entries;  // tag, type + count + value
  auto shortEntry = [](int tag, std::uint32_t value) {
    return std::make_pair(tag, Le(3, 2) + Le(1, 4) + Le(value, 2) + Le(0, 2));
  };
  auto longEntry = [](int tag, std::uint32_t value) {
    return std::make_pair(tag, Le(4, 2) + Le(1, 4) + Le(value, 4));
  };
  entries.push_back(longEntry(256, width));
  entries.push_back(longEntry(257, height));
  entries.push_back(std::make_pair(258, Le(3, 2) + Le(static_cast<std::uint32_t>(samples), 4) +
                                            (samples <= 2 ? Le(bps, 2) + Le(bps, 2) : Le(8, 4))));
  entries.push_back(shortEntry(259, 8));
  entries.push_back(shortEntry(262, samples >= 3 ? 2 : 1));
  entries.push_back(longEntry(tiled ? 324 : 273, 8));
  entries.push_back(shortEntry(277, static_cast<std::uint32_t>(samples)));
  if (!tiled) entries.push_back(longEntry(278, rowsPerStrip));
  entries.push_back(longEntry(tiled ? 325 : 279, 1));
  if (sampleFormat != 1)
    entries.push_back(shortEntry(339, static_cast<std::uint32_t>(sampleFormat)));
  if (tiled) {
    entries.push_back(longEntry(322, tileWidth));
    entries.push_back(longEntry(323, tileHeight));
  }
  // Entries in tag order; the list of bits for more than two samples sits after them.
  std::sort(entries.begin(), entries.end());
  const std::uint32_t directory = 8 + 2;  // one byte of strip data, padded
  const std::uint32_t after = directory + 2 + 12 * static_cast<std::uint32_t>(entries.size()) + 4;
  std::string ifd = Le(static_cast<std::uint32_t>(entries.size()), 2);
  for (auto& [tag, rest] : entries) {
    if (tag == 258 && samples > 2)
      rest = Le(3, 2) + Le(static_cast<std::uint32_t>(samples), 4) + Le(after, 4);
    ifd += Le(static_cast<std::uint32_t>(tag), 2) + rest;
  }
  ifd += Le(0, 4);
  std::string bits;
  for (int i = 0; i < samples; ++i) bits += Le(bps, 2);
  return std::string("II*\0", 4) + Le(directory, 4) + std::string("\x03\x00", 2) + ifd + bits;
}
