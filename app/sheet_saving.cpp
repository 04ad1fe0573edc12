#include "app/sheet_saving.h"

#include "app/window_state.h"
#include "convert/export_sheet.h"

namespace korvanth {

namespace {

ConversionJob JobForSelection(const char* path) {
  ConversionJob job;
  job.picture = SourceImage.image;
  job.layout = CurrentSheetLayout();
  job.origin = SelectionOrigin();
  job.output = path != nullptr ? path : "";
  job.tilesets = SheetTilesets;
  job.pictureFile = SourceImage.path;
  job.otherInputs = WindowInputs();
  return job;
}

}  // namespace

ConversionResult SaveSelection(const char* path) {
  if (path == nullptr) return {{ConversionProblem::NoPicture, {}}, {}};
  ConversionJob job = JobForSelection(path);
  return RunConversion(job, [&](ConversionWarning) {
    MessageBoxA(nullptr, kBitmapFallbackWarning, "", MB_OK | MB_ICONWARNING);
    job = JobForSelection(path);
  });
}

bool ExportSheet(const char* path) { return SaveSelection(path).sheet.ok(); }

}  // namespace korvanth
