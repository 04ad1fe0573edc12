// Judges from the picture's size alone whether an atlas fits its pixel and memory bounds.
#include "convert/atlas_budget.h"

#include <algorithm>

#include "convert/atlas_layout.h"
#include "convert/terrain_roles.h"

namespace korvanth {

namespace {

constexpr std::int64_t kMiB = std::int64_t{1} << 20;

std::string Mib(std::int64_t bytes) { return std::to_string((bytes + kMiB - 1) / kMiB); }

}  // namespace

AtlasNeeds AtlasNeedsFor(const AtlasRequest& request) {
  AtlasNeeds needs;
  const std::int64_t width = std::max(request.picture.width, 0);
  const std::int64_t height = std::max(request.picture.height, 0);
  needs.pictureBytes = width * height * 4;
  needs.workBytes = needs.pictureBytes;
  // The cells, and the tiles and terrains the description holds for them.
  std::vector<CellCount> cells;
  std::int64_t tiles = 0;
  std::int64_t terrains = 0;
  // A cell of `frames` sheets side by side (one wider than an atlas is refused by the plan).
  const auto cellOf = [](SheetLayout layout, int frames) {
    const PixelSize sheet = SheetSize(layout);
    return PixelSize{
        static_cast<int>(std::min<std::int64_t>(std::int64_t{sheet.width} * frames, INT32_MAX)),
        sheet.height};
  };
  const auto describe = [&](SheetLayout layout, std::int64_t count) {
    tiles += count * TileCount(layout);
    if (!TerrainRolesFor(layout).empty()) terrains += count;
  };
  if (request.map != nullptr) {
    AtlasSections sections;
    for (const MappedBlock& block : request.map->blocks) {
      const SheetLayout layout{block.format, request.layout.tileSize, request.layout.complete};
      sections.Add(block.format, block.frames, cellOf(layout, block.frames));
      describe(layout, 1);
    }
    cells = sections.cells();
  } else {
    // Every whole block shows something: whole runs of frames along each row.
    const PixelSize block = SelectionBlockSize(request.layout);
    const int frames = std::max(request.frames, 1);
    const std::int64_t runs = width / block.width / frames * (height / block.height);
    cells.push_back({cellOf(request.layout, frames), runs});
    describe(request.layout, runs);
  }
  const std::optional<AtlasExtent> extent = StackedExtent(cells);
  if (!extent) return needs;
  needs.atlasWidth = extent->width;
  needs.atlasHeight = extent->height;
  needs.atlasBytes = needs.atlasWidth * needs.atlasHeight * 4;

  const std::int64_t perPixel = request.type != nullptr ? request.type->encodeBytesPerPixel : 4;
  const std::int64_t encodeBytes = needs.atlasBytes / 4 * perPixel;
  const std::int64_t description =
      request.tilesets == kNoTilesets
          ? 0
          : tiles * kDescriptionBytesPerTile + terrains * kDescriptionBytesPerTerrain;
  needs.workBytes = needs.pictureBytes + needs.atlasBytes + encodeBytes + description;
  return needs;
}

Phrase AtlasSizeRefusal(const AtlasRequest& request) {
  const AtlasNeeds needs = AtlasNeedsFor(request);
  const std::string tooLarge = "the atlas would be too large: ";
  const std::string tooLargeJapanese = "アトラスが大きすぎます：";
  const std::string smaller = "小さいピクチャを変換してください";
  if (needs.atlasBytes > imaging::kMaxPictureBytes)
    return {tooLargeJapanese + "ピクセルが" + Mib(needs.atlasBytes) +
                " MiBになり、1枚の画像に許される" + Mib(imaging::kMaxPictureBytes) +
                " MiBを超えます。" + smaller,
            tooLarge + Mib(needs.atlasBytes) + " MiB of pixels, more than the " +
                Mib(imaging::kMaxPictureBytes) +
                " MiB a picture may hold; convert a smaller picture"};
  // A tileset whose editor cannot import its atlas is of no use.
  for (const TilesetTarget& target : kTilesetTargets) {
    const std::int64_t side = std::max(needs.atlasWidth, needs.atlasHeight);
    if ((request.tilesets & TilesetKindOf(target)) && target.maxSheetSide > 0 &&
        side > target.maxSheetSide) {
      const std::string size =
          std::to_string(needs.atlasWidth) + " x " + std::to_string(needs.atlasHeight) + " pixels";
      const std::string editor(target.editorName);
      const std::string limit = std::to_string(target.maxSheetSide);
      return {tooLargeJapanese + std::to_string(needs.atlasWidth) + " x " +
                  std::to_string(needs.atlasHeight) + "ピクセルになり、" + editor + "は一辺" +
                  limit + "ピクセルを超える画像を読み込めません。小さいピクチャを変換するか、" +
                  editor + "用のタイルセットを保存しないでください",
              tooLarge + size + ", and " + editor + " imports no picture over " + limit +
                  " pixels a side; convert a smaller picture or leave out --tileset " +
                  std::string(target.cliName)};
    }
  }
  const std::int64_t bound = std::min(
      (needs.pictureBytes + needs.atlasBytes) / 2 * 5 + kAtlasWorkAllowance, kMaxAtlasWorkBytes);
  if (needs.workBytes > bound)
    return {tooLargeJapanese + "作るのに" + Mib(needs.workBytes) + " MiBのメモリが要り、許される" +
                Mib(bound) + " MiBを超えます。" + smaller,
            tooLarge + "making it would take " + Mib(needs.workBytes) +
                " MiB of memory, more than the " + Mib(bound) +
                " MiB allowed; convert a smaller picture"};
  return {};
}

}  // namespace korvanth
