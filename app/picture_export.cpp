// Exporting every whole block of the open picture into one atlas, and the boxes that report it.
#include "app/picture_export.h"

#include <string>

#include "app/file_dialogs.h"
#include "app/window_messages.h"
#include "app/window_state.h"
#include "convert/utf8_path.h"
#include "convert/atlas_job.h"
#include "convert/block_names.h"
#include "convert/export_sheet.h"
#include "imaging/ordered_workers.h"
#include "convert/picture_file.h"

namespace korvanth {

namespace {

AtlasJob WholePictureJob(const WindowState& state, const std::string& output) {
  AtlasJob job;
  job.picture = state.picture.image;
  job.layout = CurrentSheetLayout(state);
  job.output = output;
  job.tilesets = state.tilesets;
  job.pictureFile = state.picture.path;
  job.otherInputs = WindowInputs(state);
  const PixelSize block = SelectionBlockSize(job.layout);
  // Default names only: they are unique, so naming cannot fail.
  job.names = NameBlocks(std::string(FileStem(state.picture.path)),
                         state.picture.width / block.width, state.picture.height / block.height, {})
                  .names;
  job.workers = AvailableCores();
  return job;
}

void ShowExportFailure(HWND owner, const AtlasResult& result, UiLanguage language) {
  std::string text = InLanguage(kExportFailedHeadline, language);
  for (const FileProblem& problem : result.problems)
    text += "\n" + problem.path + "\n(" + InLanguage(problem.reason, language) + ")";
  text += "\n";
  text += InLanguage(result.partlyWritten ? kExportPartlyWritten : kExportNothingWritten, language);
  MessageBoxA(owner, text.c_str(), "", MB_OK | MB_ICONERROR);
}

void ShowExportCounts(HWND owner, const std::string& output, const AtlasResult& result,
                      UiLanguage language) {
  const std::string text =
      ExportCountsText(result.placed, result.skipped, language) + "\n" + output;
  MessageBoxA(owner, text.c_str(), "", MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void RunWholePictureExport(WindowState& state, HWND owner) {
  if (!state.picture.exists() || state.picture.width == 0) {
    MessageBoxA(owner, InLanguage(kNoPictureToExport, state.language), "",
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  char path[kPathBufferSize] = {};
  const SaveProposal proposal =
      ProposeSaveName(state.picture.path, "atlas", state.dialogs.saveExtension);
  if (!AskSaveName(owner, proposal, state.language, state.dialogs, path)) return;
  // Warned before the job is taken from the window: the box leaves the window usable, so
  // the format or the picture may change while it shows.
  if (PlanOutput({true, path}).encoder.fallback) {
    MessageBoxA(nullptr, InLanguage(kBitmapFallbackBox, state.language), "",
                MB_OK | MB_ICONWARNING);
    // A picture closed meanwhile is the user's own doing: nothing to write, no box.
    if (!state.picture.exists() || state.picture.width == 0) return;
  }
  const AtlasResult result = RunAtlas(WholePictureJob(state, path), {});
  if (result.ok())
    ShowExportCounts(owner, path, result, state.language);
  else
    ShowExportFailure(owner, result, state.language);
}

}  // namespace korvanth
