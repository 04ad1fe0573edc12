// One conversion for every front end: refuses unsafe names, warns, writes sheet and tilesets.
#include "convert/conversion_job.h"

#include "convert/export_sheet.h"
#include "convert/output_writer.h"
#include "convert/terrain_colour.h"
#include "convert/utf8_path.h"

namespace korvanth {

namespace {

OutputRequest RequestOf(const ConversionJob& job) {
  return {job.picture != nullptr, job.output, job.tilesets, job.pictureFile, job.otherInputs};
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

ConversionResult Refused(ConversionProblem problem) { return {{problem, {}}, {}}; }

}  // namespace

ConversionResult RunConversion(const ConversionJob& job, const WarningSink& warn) {
  OutputPlan plan = PlanOutput(RequestOf(job));
  if (plan.refusal != ConversionProblem::None) return Refused(plan.refusal);
  if (plan.encoder.fallback && warn) {
    warn(ConversionWarning::BitmapFallback);
    // The sink may have changed the job; a picture closed meanwhile is not converted.
    plan = PlanOutput(RequestOf(job));
    if (plan.refusal != ConversionProblem::None) return Refused(plan.refusal);
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
  build.graphics = GraphicsHandle();  // drawing done: the sheet's pixels are read next
  if (!plan.tilesets.empty())
    plan.description = DescribeSheet(job.layout, FileNameOf(job.output), LookOf(job, build.sheet));
  const WriteOutcome written =
      WriteOutputs(plan, WritePolicy::EachFileWhole, [&](std::vector<std::uint8_t>& bytes) {
        return EncodeImage(build.sheet.image(), *plan.encoder.type, bytes);
      });
  if (!written.output.ok()) return {{ConversionProblem::SaveFailed, written.output}, {}};
  return {{}, written.problems};
}

}  // namespace korvanth
