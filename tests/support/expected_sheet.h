// An independent computation of a sheet: where each quarter of the block must land,
// from the tile's position alone, with the outside of the picture transparent.
#pragma once

#include <QImage>

#include <cstdio>
#include <string>

#include "convert/layout_format.h"
#include "support/pixel_difference.h"

inline QImage ExpectedSheet(const QImage& source, korvanth::LayoutFormat format, int originX,
                            int originY) {
  const korvanth::PixelSize size = korvanth::SheetSize(format);
  const int columns = size.width / 32;
  QImage sheet(size.width, size.height, QImage::Format_ARGB32);
  sheet.fill(0);
  const korvanth::LayoutTable table = korvanth::LayoutTableFor(format);
  for (int tile = 0; tile < static_cast<int>(table.size()); ++tile) {
    const int cellX = (tile % columns) * 32;
    const int cellY = (tile / columns) * 32;
    for (int q = 0; q < 4; ++q) {
      const korvanth::QuarterRef from = table[tile].quarters[q].source;
      for (int v = 0; v < 16; ++v) {
        for (int u = 0; u < 16; ++u) {
          const int sx = originX + from.column * 16 + u;
          const int sy = originY + from.row * 16 + v;
          if (sx < 0 || sy < 0 || sx >= source.width() || sy >= source.height()) continue;
          const QRgb pixel = source.pixel(sx, sy);
          // A fully transparent pixel leaves the transparent sheet as it was.
          if (qAlpha(pixel) == 0) continue;
          sheet.setPixel(cellX + (q % 2) * 16 + u, cellY + (q / 2) * 16 + v, pixel);
        }
      }
    }
  }
  return sheet;
}
