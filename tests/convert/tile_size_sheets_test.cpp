// Sheets at other tile sizes against the 32-pixel sheets, without the format tables: which
// block quarter lands at each sheet quarter is read back from a 32-pixel sheet of the
// quarter-coded golden block (the hand-checked golden sheets; for completed sets the
// converter's own 32-pixel sheet, as only the scaling is in question here), then those
// quarters are moved, N/2 pixels each, out of a block coded the same way at tile size N.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "convert/conversion_job.h"
#include "support/format_names.h"
#include "support/pixel_difference.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

std::string Golden(const std::string& name) {
  return std::string(KORVANTH_SOURCE_DIR) + "/tests/golden/" + name;
}

// The golden block is 6 x 8 quarters.
constexpr int kBlockColumns = 6, kBlockRows = 8;

// Per sheet quarter, row by row: the block quarter (column, row) it shows, none when empty.
struct QuarterMap {
  int columns = 0, rows = 0;  // of the sheet, in quarters
  std::vector<std::optional<QPoint>> sources;
};

// Decodes a 32-pixel sheet of the golden block, whose quarter (c, r) holds at (u, v) red
// 20 + 40c, green 15 + 30r, blue 16v + u; every pixel must fit its quarter's source.
std::optional<QuarterMap> ReadQuarterMap(const QImage& sheet) {
  QuarterMap map{sheet.width() / 16, sheet.height() / 16, {}};
  for (int qy = 0; qy < map.rows; ++qy)
    for (int qx = 0; qx < map.columns; ++qx) {
      const QRgb corner = sheet.pixel(16 * qx, 16 * qy);
      std::optional<QPoint> source;
      if (qAlpha(corner) != 0)
        source = QPoint((qRed(corner) - 20) / 40, (qGreen(corner) - 15) / 30);
      for (int v = 0; v < 16; ++v)
        for (int u = 0; u < 16; ++u) {
          const QRgb expected =
              source ? qRgba(20 + 40 * source->x(), 15 + 30 * source->y(), 16 * v + u, 255) : 0;
          if (sheet.pixel(16 * qx + u, 16 * qy + v) != expected) return std::nullopt;
        }
      map.sources.push_back(source);
    }
  return map;
}

// A block at quarter size q whose every pixel is distinct: the quarter's index and the
// pixel's place in it, opaque.
QRgb CodedPixel(int column, int row, int u, int v) {
  return 0xFF000000u | std::uint32_t(row * kBlockColumns + column) << 14 | v << 7 | u;
}
QImage CodedBlock(int q) {
  QImage block(kBlockColumns * q, kBlockRows * q, QImage::Format_ARGB32);
  for (int y = 0; y < block.height(); ++y)
    for (int x = 0; x < block.width(); ++x)
      block.setPixel(x, y, CodedPixel(x / q, y / q, x % q, y % q));
  return block;
}

QImage MovedQuarters(const QuarterMap& map, int q) {
  QImage sheet(map.columns * q, map.rows * q, QImage::Format_ARGB32);
  sheet.fill(0);
  for (int i = 0; i < static_cast<int>(map.sources.size()); ++i) {
    if (!map.sources[i]) continue;
    for (int v = 0; v < q; ++v)
      for (int u = 0; u < q; ++u)
        sheet.setPixel(i % map.columns * q + u, i / map.columns * q + v,
                       CodedPixel(map.sources[i]->x(), map.sources[i]->y(), u, v));
  }
  return sheet;
}

// Converts the block in `file` at `layout`; the sheet read back.
QImage Convert(const std::string& file, SheetLayout layout, const ScratchDir& dir) {
  ImageHandle block = ImageHandle::FromFile(reinterpret_cast<const WCHAR*>(Wide(file).c_str()));
  EXPECT_EQ(block.lastStatus(), Ok) << file;
  const std::string out = dir.file("sheet.png");
  const ConversionJob job{&block, layout, {0, 0}, out, kNoTilesets, {}};
  EXPECT_TRUE(RunConversion(job, {}).ok()) << file;
  return ReadBack(out);
}

TEST(TileSizeSheetsTest, EveryTileSizeMovesTheQuartersOfThe32PixelSheet) {
  ScratchDir dir;
  for (const LayoutFormat format : kAllLayoutFormats)
    for (const bool complete : {false, true}) {
      const std::string name(LayoutFormatName(format));
      SCOPED_TRACE(name + (complete ? ", complete" : ""));
      const QImage reference = complete
                                   ? Convert(Golden("quarter_block.png"), {format, 32, true}, dir)
                                   : ReadBack(Golden(name + ".png"));
      const std::optional<QuarterMap> map = ReadQuarterMap(reference);
      ASSERT_TRUE(map.has_value()) << "a sheet quarter that is no whole block quarter";
      for (const int n : {8, 16, 24, 48, 64, 128}) {
        SCOPED_TRACE("tile size " + std::to_string(n));
        const std::string blockFile = dir.file("coded.png");
        ASSERT_TRUE(CodedBlock(n / 2).save(QString::fromStdString(blockFile), "PNG"));
        EXPECT_EQ(FirstDifference(MovedQuarters(*map, n / 2),
                                  Convert(blockFile, {format, n, complete}, dir)),
                  "");
      }
    }
}

}  // namespace
