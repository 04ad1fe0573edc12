// Every whole block into one atlas and its tilesets, staged and moved into place together.
#include "convert/atlas_job.h"

#include <algorithm>
#include <new>
#include <optional>
#include <utility>

#include "convert/atlas_budget.h"
#include "convert/atlas_layout.h"
#include "convert/atlas_pixels.h"
#include "convert/output_writer.h"
#include "convert/terrain_colour.h"
#include "convert/utf8_path.h"
#include "imaging/ordered_workers.h"
#include "imaging/picture_header.h"

namespace korvanth {

namespace {

// Nothing to announce before or after an item: the atlas is written once all are placed.
void NoStep(int) {}

// The picture's pixels as 32-bit ARGB rows, locked for reading while it lives.
class LockedPicture {
 public:
  explicit LockedPicture(ImageHandle& picture) : picture_(picture) {
    GpRect all{0, 0, static_cast<INT>(picture.Width()), static_cast<INT>(picture.Height())};
    locked_ = GdipBitmapLockBits(picture.bitmap(), &all, ImageLockModeRead, PixelFormat32bppARGB,
                                 &data_) == Ok;
  }
  ~LockedPicture() {
    if (locked_) GdipBitmapUnlockBits(picture_.bitmap(), &data_);
  }
  LockedPicture(const LockedPicture&) = delete;
  LockedPicture& operator=(const LockedPicture&) = delete;
  bool ok() const { return locked_; }
  PixelRows rows() const {
    return {static_cast<std::uint8_t*>(data_.Scan0), data_.Stride, static_cast<int>(data_.Width),
            static_cast<int>(data_.Height)};
  }

 private:
  ImageHandle& picture_;
  BitmapData data_{};
  bool locked_ = false;
};

AtlasResult Failed(AtlasResult result, const std::string& path, Phrase reason,
                   bool isPicture = false) {
  result.problems.push_back({path, isPicture, std::move(reason)});
  return result;
}

// The terrain of the sheet in atlas cell `index`, its tiles given their atlas ids.
TilesetTerrain TerrainOfCell(const AtlasJob& job, const AtlasGrid& grid, ImageHandle& atlas,
                             int index, std::string name) {
  const SheetLayout layout = job.layout;
  const int size = layout.tileSize;
  const int columns = SheetColumns(layout);
  const auto atlasId = [&](int tile) { return AtlasTileId(grid, size, columns, index, tile); };
  TilesetTerrain terrain;
  terrain.name = std::move(name);
  if (const std::optional<int> full = FullTerrainTile(layout)) {
    terrain.thumbnailTile = atlasId(*full);
    const int id = terrain.thumbnailTile;
    const int atlasColumns = grid.size.width / size;
    terrain.colour =
        MeanOpaqueColour(atlas, id % atlasColumns * size, id / atlasColumns * size, size)
            .value_or(kDefaultTerrainColour);
  }
  const TerrainRoles roles = TerrainRolesFor(layout);
  for (std::size_t tile = 0; tile < roles.size(); ++tile)
    if (roles[tile]) terrain.tiles.push_back({atlasId(static_cast<int>(tile)), *roles[tile]});
  return terrain;
}

// The tilesets' picture, tiles and terrains: every tile of every run's first sheet, a
// terrain for each run of a terrain layout, named after its first block.
TilesetDescription DescribeAtlas(const AtlasJob& job, const AtlasGrid& grid, const BlockRuns& runs,
                                 ImageHandle& atlas) {
  const SheetLayout layout = job.layout;
  TilesetDescription description;
  description.name = std::string(FileStem(job.output));
  description.imagePath = std::string(FileNameOf(job.output));
  description.imageSize = grid.size;
  description.tileSize = layout.tileSize;
  description.columns = grid.size.width / layout.tileSize;
  const int tiles = TileCount(layout);
  const int sheetColumns = SheetColumns(layout);
  const bool terrain = !TerrainRolesFor(layout).empty();
  description.frames = std::max(job.frames, 1);
  description.frameStride = sheetColumns;
  description.frameMs = job.frameMs;
  const int count = static_cast<int>(runs.firsts.size());
  // Reserved whole: an atlas's description may run to millions of tiles.
  description.tiles.reserve(static_cast<std::size_t>(count) * static_cast<std::size_t>(tiles));
  if (terrain) description.terrains.reserve(static_cast<std::size_t>(count));
  for (int index = 0; index < count; ++index) {
    for (int tile = 0; tile < tiles; ++tile)
      description.tiles.push_back(AtlasTileId(grid, layout.tileSize, sheetColumns, index, tile));
    if (!terrain) continue;
    const int item = runs.firsts[static_cast<std::size_t>(index)];
    std::string name = static_cast<std::size_t>(item) < job.names.size()
                           ? job.names[static_cast<std::size_t>(item)]
                           : std::to_string(item);
    description.terrains.push_back(TerrainOfCell(job, grid, atlas, index, std::move(name)));
  }
  return description;
}

}  // namespace

AtlasResult RunAtlas(const AtlasJob& job, const WarningSink& warn) {
  AtlasResult result;
  const std::string& output = job.output;
  OutputPlan plan = PlanOutput({job.picture != nullptr,
                                output,
                                job.tilesets,
                                job.pictureFile,
                                job.otherInputs,
                                {"アトラス", "atlas"}});
  // Every file the atlas writes is refused before any pixel is touched.
  if (plan.refusal != ConversionProblem::None)
    return Failed(result, output, plan.refusalReason,
                  plan.refusal == ConversionProblem::OpenPicture);
  result.problems = PlanRefusals(plan);
  if (!result.ok()) return result;
  const EncoderChoice encoder = plan.encoder;
  if (encoder.fallback && warn) warn(ConversionWarning::BitmapFallback);

  // The blocks: whole ones only, row by row.
  const PixelSize block = SelectionBlockSize(job.layout);
  const int blockColumns = static_cast<int>(job.picture->Width()) / block.width;
  const int blockRows = static_cast<int>(job.picture->Height()) / block.height;
  result.blocks = blockColumns * blockRows;
  if (result.blocks == 0)
    return Failed(
        result, output,
        {"ピクチャに丸ごと入ったブロックがありません", "the picture holds no whole block"});
  const auto originOf = [&](int item) {
    return SelectionPoint{item % blockColumns * block.width, item / blockColumns * block.height};
  };

  const int frames = std::max(job.frames, 1);
  const PixelSize sheet = SheetSize(job.layout);
  if (std::int64_t{sheet.width} * frames > kMaxAtlasWidth)
    return Failed(result, output,
                  {"幅" + std::to_string(sheet.width) + "ピクセルのシート" +
                       std::to_string(frames) + "フレームを横に並べると、アトラスの" +
                       std::to_string(kMaxAtlasWidth) + "ピクセルを超えます",
                   std::to_string(frames) + " frames of " + std::to_string(sheet.width) +
                       "-pixel sheets pass the atlas's " + std::to_string(kMaxAtlasWidth) +
                       " pixels side by side"});

  // The largest atlas the picture can make must fit, before any pixel is read.
  if (Phrase refusal = AtlasSizeRefusal(
          {{static_cast<int>(job.picture->Width()), static_cast<int>(job.picture->Height())},
           job.layout,
           frames,
           encoder.type,
           job.tilesets});
      !refusal.empty())
    return Failed(result, output, std::move(refusal));

  std::vector<std::uint32_t> pixels;
  std::optional<AtlasGrid> grid;
  BlockRuns runs;  // the runs in the atlas, in cell order
  {
    const PictureLockHold hold(job.pictureLock);
    const LockedPicture picture(*job.picture);
    if (!picture.ok())
      return Failed(result, output, ConversionCause({ConversionProblem::BuildFailed, {}}));
    std::vector<char> empty(static_cast<std::size_t>(result.blocks), 0);
    RunInOrder(
        result.blocks, job.workers, NoStep,
        [&](int item) {
          empty[static_cast<std::size_t>(item)] =
              IsBlockTransparent(picture.rows(), originOf(item), block);
        },
        NoStep);
    runs = GroupBlockRuns(empty, blockColumns, frames);
    if (!runs.ok()) {
      result.unevenRow = runs.unevenRow;
      result.unevenRowBlocks = runs.unevenRowBlocks;
      return result;
    }
    result.runs = static_cast<int>(runs.firsts.size());
    result.placed = result.runs * frames;
    result.skipped = runs.skipped;
    if (runs.firsts.empty())
      return Failed(result, output, {"どのブロックも空です", "every block is empty"});

    grid = PlanAtlas({sheet.width * frames, sheet.height}, result.runs, imaging::kMaxPictureBytes);
    if (!grid)
      return Failed(
          result, output,
          {"アトラスのピクセルが" + std::to_string(imaging::kMaxPictureBytes >> 20) +
               " MiBを超えます。小さいピクチャを変換してください",
           "the atlas would hold more than " + std::to_string(imaging::kMaxPictureBytes >> 20) +
               " MiB of pixels; convert a smaller picture"});
    try {
      pixels.assign(
          static_cast<std::size_t>(grid->size.width) * static_cast<std::size_t>(grid->size.height),
          0u);
    } catch (const std::bad_alloc&) {
      return Failed(result, output, ConversionCause({ConversionProblem::BuildFailed, {}}));
    }
    const PixelRows atlasRows{reinterpret_cast<std::uint8_t*>(pixels.data()),
                              static_cast<std::ptrdiff_t>(grid->size.width) * 4, grid->size.width,
                              grid->size.height};
    // Each block writes its own sheet's pixels only: no lock is needed between them.
    RunInOrder(
        result.placed, job.workers, NoStep,
        [&](int item) {
          const int run = item / frames;
          const int frame = item % frames;
          CopySheetQuarters(job.layout, picture.rows(),
                            originOf(runs.firsts[static_cast<std::size_t>(run)] + frame), atlasRows,
                            FrameOrigin(*grid, run, frame, sheet.width));
        },
        NoStep);
  }

  ImageHandle atlas =
      ImageHandle::FromScan0(grid->size.width, grid->size.height, grid->size.width * 4,
                             PixelFormat32bppARGB, reinterpret_cast<BYTE*>(pixels.data()));
  if (atlas.empty())
    return Failed(result, output, ConversionCause({ConversionProblem::BuildFailed, {}}));
  atlas.Record(GdipBitmapSetResolution(atlas.bitmap(), 96.0f, 96.0f));

  // The tilesets' description first: the terrains' colours come from the atlas's pixels.
  if (!plan.tilesets.empty()) plan.description = DescribeAtlas(job, *grid, runs, atlas);
  WriteOutcome written =
      WriteOutputs(plan, WritePolicy::AllOrNothing, [&](std::vector<std::uint8_t>& bytes) {
        const GpStatus encoded = EncodeImage(atlas.image(), *encoder.type, bytes, job.workers);
        atlas = ImageHandle();
        std::vector<std::uint32_t>().swap(pixels);
        return encoded;
      });
  result.problems = std::move(written.problems);
  result.partlyWritten = written.partlyWritten;
  return result;
}

}  // namespace korvanth
