// Saving the selected block's sheet and its tilesets through the one conversion path.
#include "app/sheet_saving.h"

#include "app/window_messages.h"
#include "app/window_state.h"
#include "convert/export_sheet.h"

namespace korvanth {

namespace {

ConversionJob JobForSelection(const WindowState& state, const char* path) {
  ConversionJob job;
  job.picture = state.picture.image;
  job.layout = CurrentSheetLayout(state);
  job.origin = SelectionOrigin(state);
  job.output = path != nullptr ? path : "";
  job.tilesets = state.tilesets;
  job.pictureFile = state.picture.path;
  job.otherInputs = WindowInputs(state);
  return job;
}

}  // namespace

ConversionResult SaveSelection(WindowState& state, const char* path) {
  if (path == nullptr) return {{ConversionProblem::NoPicture, {}}, {}};
  ConversionJob job = JobForSelection(state, path);
  return RunConversion(job, [&](ConversionWarning) {
    MessageBoxA(nullptr, InLanguage(kBitmapFallbackBox, state.language), "",
                MB_OK | MB_ICONWARNING);
    job = JobForSelection(state, path);
  });
}

bool ExportSheet(WindowState& state, const char* path) {
  return SaveSelection(state, path).sheet.ok();
}

}  // namespace korvanth
