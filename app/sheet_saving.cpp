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

ConversionResult SaveSelection(WindowState& state, HWND owner, const char* path) {
  if (path == nullptr) return {{ConversionProblem::NoPicture, {}}, {}};
  const ConversionJob job = JobForSelection(state, path);
  // The job holds the picture itself; the warning's box lets the watch's timer run.
  struct Hold {
    int& count;
    explicit Hold(int& held) : count(++held) {}
    ~Hold() { --count; }
  } hold(state.pictureHeld);
  return RunConversion(job, [owner, &state](ConversionWarning) {
    MessageBoxA(owner, InLanguage(kBitmapFallbackBox, state.language), "", MB_OK | MB_ICONWARNING);
  });
}

bool ExportSheet(WindowState& state, HWND owner, const char* path) {
  return SaveSelection(state, owner, path).sheet.ok();
}

}  // namespace korvanth
