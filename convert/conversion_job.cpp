#include "convert/conversion_job.h"

#include <utility>

#include "convert/export_sheet.h"
#include "convert/same_file.h"
#include "convert/terrain_colour.h"
#include "convert/tileset_targets.h"
#include "convert/utf8_path.h"

namespace korvanth {

namespace {

bool LandsOnPicture(const ConversionJob& job, const std::string& path) {
  return !job.pictureFile.empty() && IsSameFile(job.pictureFile, path);
}

bool LandsOnOtherInput(const ConversionJob& job, const std::string& path) {
  return ReadFileAt(job.otherInputs, path) != nullptr;
}

// How the terrain shows in the editors: the job's name, the colour of the sheet's full tile.
TerrainLook LookOf(const ConversionJob& job, ImageHandle& sheet) {
  TerrainLook look{job.terrainName, std::nullopt};
  if (const std::optional<int> full = FullTerrainTile(job.layout)) {
    const int columns = SheetColumns(job.layout);
    const int size = job.layout.tileSize;
    look.colour = MeanOpaqueColour(sheet, *full % columns * size, *full / columns * size, size);
  }
  return look;
}

// The chosen tilesets beside the sheet just written; the picture's own file is skipped.
std::vector<TilesetProblem> WriteTilesets(const ConversionJob& job, const FileType& sheetType,
                                          const TerrainLook& look) {
  std::vector<TilesetProblem> problems;
  TilesetKinds kinds = job.tilesets;
  for (const TilesetTarget& target : kTilesetTargets) {
    const TilesetKinds kind = TilesetKindOf(target);
    const std::string path = TilesetPathFor(job.output, target.extension);
    if ((kinds & kind) && LandsOnPicture(job, path)) {
      problems.push_back({path, true, ConversionReason({ConversionProblem::OpenPicture, {}})});
      kinds = TilesetKinds(kinds & ~kind);
    } else if (const ReadFile* input = ReadFileAt(job.otherInputs, path); (kinds & kind) && input) {
      problems.push_back({path, false, ReadFileRefusal(*input)});
      kinds = TilesetKinds(kinds & ~kind);
    }
  }
  for (TilesetWriteFailure& failure :
       WriteSheetTilesets(kinds, job.layout, job.output, sheetType, look))
    problems.push_back({std::move(failure.path), false, std::move(failure.reason)});
  return problems;
}

ConversionResult Refused(ConversionProblem problem) { return {{problem, {}}, {}}; }

}  // namespace

ConversionResult RunConversion(const ConversionJob& job, const WarningSink& warn) {
  if (job.picture == nullptr) return Refused(ConversionProblem::NoPicture);
  const auto wide = WidenUtf8(job.output);
  if (!wide) return Refused(ConversionProblem::InvalidName);
  const auto extension = ExtensionOf(job.output);
  if (!extension) return Refused(ConversionProblem::NoExtension);
  if (LandsOnPicture(job, job.output)) return Refused(ConversionProblem::OpenPicture);
  if (LandsOnOtherInput(job, job.output)) return Refused(ConversionProblem::OtherInput);

  const EncoderChoice encoder = ChooseEncoder(*extension);
  if (encoder.fallback && warn) {
    warn(ConversionWarning::BitmapFallback);
    // The sink may have changed the job; a picture closed meanwhile is not converted.
    if (job.picture == nullptr) return Refused(ConversionProblem::NoPicture);
    if (LandsOnPicture(job, job.output)) return Refused(ConversionProblem::OpenPicture);
    if (LandsOnOtherInput(job, job.output)) return Refused(ConversionProblem::OtherInput);
  }
  if (!BlockFitsPositions(job.origin, SelectionBlockSize(job.layout)))
    return Refused(ConversionProblem::BlockOutOfRange);

  SheetBuild build;
  {
    const PictureLockHold hold(job.pictureLock);
    build = BuildSheet(job.layout, *job.picture, job.origin);
  }
  if (build.sheet.empty() || build.sheet.lastStatus() == OutOfMemory)
    return Refused(ConversionProblem::BuildFailed);
  const SaveOutcome saved = SaveImageFile(build.sheet.image(), wide->data(), *encoder.type);
  if (!saved.ok()) return {{ConversionProblem::SaveFailed, saved}, {}};
  if (job.tilesets == kNoTilesets) return {};
  build.graphics = GraphicsHandle();  // drawing done: the sheet's pixels are read next
  return {{}, WriteTilesets(job, *encoder.type, LookOf(job, build.sheet))};
}

}  // namespace korvanth
