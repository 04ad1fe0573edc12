// Every whole block into one atlas and its tilesets, staged and moved into place together.
#include "convert/atlas_job.h"

#include <algorithm>
#include <new>
#include <optional>
#include <utility>

#include "convert/atlas_budget.h"
#include "convert/atlas_layout.h"
#include "convert/atlas_pixels.h"
#include "convert/map_blocks.h"
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

// One block of the picture the atlas may take: where it lies and at which layout.
struct CandidateBlock {
  SelectionPoint origin;
  SheetLayout layout;
};

// One cell of the atlas: a block's sheet, or an animation's frames' sheets side by side.
struct AtlasEntry {
  std::size_t firstBlock = 0;  // its first frame among the candidate blocks
  int frames = 1;              // the next frames - 1 candidates are its other frames
  std::string name;            // its terrain's name
  int section = 0;             // its grid in the atlas and its cell there
  int cell = 0;
};

// The candidate blocks: every whole block row by row, or every frame of every map block.
std::vector<CandidateBlock> CandidateBlocks(const AtlasJob& job, int blockColumns, int blockRows) {
  std::vector<CandidateBlock> blocks;
  if (job.map != nullptr) {
    for (const MappedBlock& mapped : job.map->blocks)
      for (int frame = 0; frame < mapped.frames; ++frame)
        blocks.push_back({MappedFrameOrigin(mapped, frame, job.layout.tileSize),
                          {mapped.format, job.layout.tileSize, job.layout.complete}});
    return blocks;
  }
  const PixelSize block = SelectionBlockSize(job.layout);
  blocks.reserve(static_cast<std::size_t>(blockColumns) * static_cast<std::size_t>(blockRows));
  for (int row = 0; row < blockRows; ++row)
    for (int column = 0; column < blockColumns; ++column)
      blocks.push_back({{column * block.width, row * block.height}, job.layout});
  return blocks;
}

// The map's blocks that show something, each with all its frames: a block whose every
// frame is empty is left out, one with only some empty frames keeps them.
std::vector<AtlasEntry> MapEntries(const BlockMap& map, const std::vector<char>& empty,
                                   int& skipped) {
  std::vector<AtlasEntry> entries;
  std::size_t first = 0;
  for (const MappedBlock& mapped : map.blocks) {
    const auto frames = static_cast<std::size_t>(mapped.frames);
    const bool allEmpty = std::all_of(empty.begin() + static_cast<std::ptrdiff_t>(first),
                                      empty.begin() + static_cast<std::ptrdiff_t>(first + frames),
                                      [](char e) { return e != 0; });
    if (allEmpty)
      skipped += mapped.frames;
    else
      entries.push_back({first, mapped.frames, mapped.name});
    first += frames;
  }
  return entries;
}

// The sheet size of an entry's cell: its frames side by side.
PixelSize CellSizeOf(const AtlasEntry& entry, const std::vector<CandidateBlock>& blocks) {
  const PixelSize sheet = SheetSize(blocks[entry.firstBlock].layout);
  return {sheet.width * entry.frames, sheet.height};
}

// Gives every entry its section and its cell there; the sections' cell sizes and counts.
std::vector<CellCount> AssignCells(std::vector<AtlasEntry>& entries,
                                   const std::vector<CandidateBlock>& blocks) {
  AtlasSections sections;
  for (AtlasEntry& entry : entries) {
    const AtlasSections::Place place = sections.Add(blocks[entry.firstBlock].layout.format,
                                                    entry.frames, CellSizeOf(entry, blocks));
    entry.section = place.section;
    entry.cell = place.cell;
  }
  return sections.cells();
}

// The terrain of an entry's (first) sheet at `sheet` in the atlas, its tiles given their
// atlas ids.
TilesetTerrain TerrainOfSheet(SheetLayout layout, SelectionPoint sheet, ImageHandle& atlas,
                              std::string name) {
  const int size = layout.tileSize;
  const int columns = SheetColumns(layout);
  const int atlasWidth = static_cast<int>(atlas.Width());
  const auto atlasId = [&](int tile) { return TileIdAt(sheet, atlasWidth, size, columns, tile); };
  TilesetTerrain terrain;
  terrain.name = std::move(name);
  if (const std::optional<int> full = FullTerrainTile(layout)) {
    terrain.thumbnailTile = atlasId(*full);
    const int id = terrain.thumbnailTile;
    const int atlasColumns = atlasWidth / size;
    terrain.colour =
        MeanOpaqueColour(atlas, id % atlasColumns * size, id / atlasColumns * size, size)
            .value_or(kDefaultTerrainColour);
  }
  const TerrainRoles roles = TerrainRolesFor(layout);
  for (std::size_t tile = 0; tile < roles.size(); ++tile)
    if (roles[tile]) terrain.tiles.push_back({atlasId(static_cast<int>(tile)), *roles[tile]});
  return terrain;
}

// The tilesets' picture, tiles and terrains: every tile of every entry's first sheet, a
// terrain for each entry of a terrain layout, animations for the entries of several frames.
TilesetDescription DescribeAtlas(const AtlasJob& job, const StackedAtlas& plan,
                                 const std::vector<AtlasEntry>& entries,
                                 const std::vector<CandidateBlock>& blocks, ImageHandle& atlas) {
  TilesetDescription description;
  description.name = std::string(FileStem(job.output));
  description.imagePath = std::string(FileNameOf(job.output));
  description.imageSize = plan.size;
  description.tileSize = job.layout.tileSize;
  description.columns = plan.size.width / job.layout.tileSize;
  description.frameMs = job.frameMs;
  // Reserved whole: an atlas's description may run to millions of tiles.
  std::size_t tiles = 0;
  for (const AtlasEntry& entry : entries)
    tiles += static_cast<std::size_t>(TileCount(blocks[entry.firstBlock].layout));
  description.tiles.reserve(tiles);
  for (const AtlasEntry& entry : entries) {
    const SheetLayout layout = blocks[entry.firstBlock].layout;
    const SelectionPoint sheet = CellOrigin(plan, entry.section, entry.cell);
    const int sheetColumns = SheetColumns(layout);
    const std::size_t first = description.tiles.size();
    for (int tile = 0; tile < TileCount(layout); ++tile)
      description.tiles.push_back(
          TileIdAt(sheet, plan.size.width, layout.tileSize, sheetColumns, tile));
    if (entry.frames > 1)
      description.animations.push_back(
          {first, description.tiles.size() - first, entry.frames, sheetColumns});
    if (!TerrainRolesFor(layout).empty())
      description.terrains.push_back(TerrainOfSheet(layout, sheet, atlas, entry.name));
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

  const PixelSize picture{static_cast<int>(job.picture->Width()),
                          static_cast<int>(job.picture->Height())};
  const PixelSize block = SelectionBlockSize(job.layout);
  const int blockColumns = picture.width / block.width;
  const int blockRows = picture.height / block.height;
  const int frames = std::max(job.frames, 1);
  if (job.map != nullptr) {
    // The map's blocks must lie in the picture and their frames fit an atlas row.
    if (Phrase problem = FirstMapBlockProblem(*job.map, picture, job.layout, true);
        !problem.empty())
      return Failed(result, job.mapFile, std::move(problem));
  } else {
    if (blockColumns * blockRows == 0)
      return Failed(
          result, output,
          {"ピクチャに丸ごと入ったブロックがありません", "the picture holds no whole block"});
    const int sheetWidth = SheetSize(job.layout).width;
    if (std::int64_t{sheetWidth} * frames > kMaxAtlasWidth)
      return Failed(result, output,
                    {"幅" + std::to_string(sheetWidth) + "ピクセルのシート" +
                         std::to_string(frames) + "フレームを横に並べると、アトラスの" +
                         std::to_string(kMaxAtlasWidth) + "ピクセルを超えます",
                     std::to_string(frames) + " frames of " + std::to_string(sheetWidth) +
                         "-pixel sheets pass the atlas's " + std::to_string(kMaxAtlasWidth) +
                         " pixels side by side"});
  }
  const std::vector<CandidateBlock> blocks = CandidateBlocks(job, blockColumns, blockRows);
  result.blocks = static_cast<int>(blocks.size());
  if (blocks.empty())
    return Failed(result, output,
                  {"ブロックマップにブロックがひとつもありません", "the block map names no block"});

  // The largest atlas the picture (or map) can make must fit, before any pixel is read.
  if (Phrase refusal =
          AtlasSizeRefusal({picture, job.layout, frames, encoder.type, job.tilesets, job.map});
      !refusal.empty())
    return Failed(result, output, std::move(refusal));

  std::vector<std::uint32_t> pixels;
  std::optional<StackedAtlas> atlasPlan;
  std::vector<AtlasEntry> entries;  // the atlas's cells, in the order of their blocks
  {
    const PictureLockHold hold(job.pictureLock);
    const LockedPicture locked(*job.picture);
    if (!locked.ok())
      return Failed(result, output, ConversionCause({ConversionProblem::BuildFailed, {}}));
    std::vector<char> empty(blocks.size(), 0);
    RunInOrder(
        result.blocks, job.workers, NoStep,
        [&](int item) {
          const CandidateBlock& candidate = blocks[static_cast<std::size_t>(item)];
          empty[static_cast<std::size_t>(item)] = IsBlockTransparent(
              locked.rows(), candidate.origin, SelectionBlockSize(candidate.layout));
        },
        NoStep);
    if (job.map != nullptr) {
      entries = MapEntries(*job.map, empty, result.skipped);
    } else {
      const BlockRuns runs = GroupBlockRuns(empty, blockColumns, frames);
      if (!runs.ok()) {
        result.unevenRow = runs.unevenRow;
        result.unevenRowBlocks = runs.unevenRowBlocks;
        return result;
      }
      result.skipped = runs.skipped;
      for (const int first : runs.firsts) {
        const auto at = static_cast<std::size_t>(first);
        entries.push_back({at, frames, at < job.names.size() ? job.names[at] : std::to_string(at)});
      }
    }
    result.runs = static_cast<int>(entries.size());
    // Every frame of a kept run is placed: one per block.
    std::vector<std::pair<std::size_t, int>> placed;  // (entry, frame)
    for (std::size_t e = 0; e < entries.size(); ++e) {
      if (entries[e].frames > 1) ++result.animations;
      for (int frame = 0; frame < entries[e].frames; ++frame) placed.emplace_back(e, frame);
    }
    result.placed = static_cast<int>(placed.size());
    if (entries.empty())
      return Failed(result, output, {"どのブロックも空です", "every block is empty"});

    const std::vector<CellCount> sections = AssignCells(entries, blocks);
    atlasPlan = PlanStackedAtlas(sections, imaging::kMaxPictureBytes);
    if (!atlasPlan)
      return Failed(
          result, output,
          {"アトラスのピクセルが" + std::to_string(imaging::kMaxPictureBytes >> 20) +
               " MiBを超えます。小さいピクチャを変換してください",
           "the atlas would hold more than " + std::to_string(imaging::kMaxPictureBytes >> 20) +
               " MiB of pixels; convert a smaller picture"});
    const PixelSize size = atlasPlan->size;
    try {
      pixels.assign(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height),
                    0u);
    } catch (const std::bad_alloc&) {
      return Failed(result, output, ConversionCause({ConversionProblem::BuildFailed, {}}));
    }
    const PixelRows atlasRows{reinterpret_cast<std::uint8_t*>(pixels.data()),
                              static_cast<std::ptrdiff_t>(size.width) * 4, size.width, size.height};
    // Each block writes its own sheet's pixels only: no lock is needed between them.
    RunInOrder(
        result.placed, job.workers, NoStep,
        [&](int item) {
          const auto [e, frame] = placed[static_cast<std::size_t>(item)];
          const AtlasEntry& entry = entries[e];
          const CandidateBlock& candidate =
              blocks[entry.firstBlock + static_cast<std::size_t>(frame)];
          const SelectionPoint cell = CellOrigin(*atlasPlan, entry.section, entry.cell);
          CopySheetQuarters(candidate.layout, locked.rows(), candidate.origin, atlasRows,
                            {cell.x + frame * SheetSize(candidate.layout).width, cell.y});
        },
        NoStep);
  }

  const PixelSize size = atlasPlan->size;
  ImageHandle atlas =
      ImageHandle::FromScan0(size.width, size.height, size.width * 4, PixelFormat32bppARGB,
                             reinterpret_cast<BYTE*>(pixels.data()));
  if (atlas.empty())
    return Failed(result, output, ConversionCause({ConversionProblem::BuildFailed, {}}));
  atlas.Record(GdipBitmapSetResolution(atlas.bitmap(), 96.0f, 96.0f));

  // The tilesets' description first: the terrains' colours come from the atlas's pixels.
  if (!plan.tilesets.empty())
    plan.description = DescribeAtlas(job, *atlasPlan, entries, blocks, atlas);
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
