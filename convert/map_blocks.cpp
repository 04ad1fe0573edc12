// The map's blocks in pixels at a tile size, checked against the picture and the atlas width.
#include "convert/map_blocks.h"

#include <algorithm>
#include <map>

#include "convert/atlas_layout.h"
#include "convert/format_registry.h"

namespace korvanth {

namespace {

// The pixels of all the block's frames together, in 64 bits.
struct PixelArea {
  std::int64_t x, y, width, height;
};

PixelArea PixelsOf(const MappedBlock& block, int tileSize) {
  const CellArea cells = CellsOf(block);
  return {cells.column * tileSize, cells.row * tileSize, cells.columns * tileSize,
          cells.rows * tileSize};
}

// "W x H".
std::string SizeText(std::int64_t width, std::int64_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

// "X,Y".
std::string PointText(std::int64_t x, std::int64_t y) {
  return std::to_string(x) + "," + std::to_string(y);
}

Phrase PastThePicture(const MappedBlock& block, const PixelArea& area, PixelSize picture) {
  const std::string format(FormatEntryFor(block.format).cliName);
  const std::string cell = PointText(block.column, block.row);
  const std::string taken = SizeText(area.width, area.height);
  const std::string from = PointText(area.x, area.y);
  const std::string whole = SizeText(picture.width, picture.height);
  return {"セル" + cell + "の" + format + "ブロック「" + block.name + "」は" + from + "から" +
              taken + "ピクセルを占め、" + whole + "のピクチャからはみ出します",
          "the " + format + " block '" + block.name + "' at cell " + cell + " takes " + taken +
              " pixels from " + from + ", past the " + whole + " picture"};
}

Phrase PastTheAtlasWidth(const MappedBlock& block, int sheetWidth) {
  const std::string frames = std::to_string(block.frames);
  const std::string width = std::to_string(sheetWidth);
  const std::string most = std::to_string(kMaxAtlasWidth);
  return {width + "ピクセルのシート" + frames + "フレームを横に並べると、アトラスの幅" + most +
              "ピクセルを超えます",
          frames + " frames of " + width + "-pixel sheets pass the atlas's " + most +
              " pixels side by side"};
}

}  // namespace

SelectionPoint MappedFrameOrigin(const MappedBlock& block, int frame, int tileSize) {
  const PixelSize cells = BlockSizeInCells(block.format);
  return {static_cast<std::int32_t>((std::int64_t{block.column} + frame * cells.width) * tileSize),
          static_cast<std::int32_t>(std::int64_t{block.row} * tileSize)};
}

Phrase FirstMapBlockProblem(const BlockMap& map, PixelSize picture, SheetLayout layout,
                            bool inAtlas) {
  const int size = layout.tileSize;
  for (const MappedBlock& block : map.blocks) {
    const PixelArea area = PixelsOf(block, size);
    if (area.x + area.width > picture.width || area.y + area.height > picture.height)
      return OnMapLine(block.line, PastThePicture(block, area, picture));
    const int sheetWidth = SheetSize({block.format, size, layout.complete}).width;
    if (inAtlas && std::int64_t{sheetWidth} * block.frames > kMaxAtlasWidth)
      return OnMapLine(block.line, PastTheAtlasWidth(block, sheetWidth));
  }
  return {};
}

std::vector<MapSheet> MapSheets(const BlockMap& map) {
  std::vector<MapSheet> sheets;
  for (std::size_t i = 0; i < map.blocks.size(); ++i) {
    const MappedBlock& block = map.blocks[i];
    if (block.frames == 1) {
      sheets.push_back({i, 0, block.name});
      continue;
    }
    for (int frame = 0; frame < block.frames; ++frame)
      sheets.push_back({i, frame, block.name + "_" + std::to_string(frame)});
  }
  return sheets;
}

Phrase SharedSheetFileProblem(const BlockMap& map, const std::vector<MapSheet>& sheets) {
  std::map<std::string, const MapSheet*> files;  // the stem in ASCII lower case -> its sheet
  for (const MapSheet& sheet : sheets) {
    std::string file = sheet.stem;
    std::transform(file.begin(), file.end(), file.begin(), [](char c) {
      return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    const auto [at, added] = files.emplace(std::move(file), &sheet);
    if (added) continue;
    const Phrase other = MapLineName(map.blocks[at->second->block].line);
    return OnMapLine(map.blocks[sheet.block].line,
                     {"シート「" + sheet.stem + "」は" + other.japanese + "の「" +
                          at->second->stem + "」とファイルを共有してしまいます",
                      "the sheet '" + sheet.stem + "' would share its file with '" +
                          at->second->stem + "' of " + other.english});
  }
  return {};
}

}  // namespace korvanth
