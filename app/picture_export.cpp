// Exporting every whole block of the open picture into one atlas, and the boxes that report it.
#include "app/picture_export.h"

#include <string>

#include "app/file_dialogs.h"
#include "app/window_messages.h"
#include "app/window_state.h"
#include "convert/utf8_path.h"
#include "convert/atlas_job.h"
#include "convert/block_map_file.h"
#include "convert/block_names.h"
#include "convert/export_sheet.h"
#include "imaging/ordered_workers.h"
#include "convert/picture_file.h"

namespace korvanth {

namespace {

AtlasJob WholePictureJob(const WindowState& state, const std::string& output,
                         const BlockMapFile& map, const std::string& mapFile) {
  AtlasJob job;
  job.picture = state.picture.image;
  job.layout = CurrentSheetLayout(state);
  job.output = output;
  job.tilesets = state.tilesets;
  job.pictureFile = state.picture.path;
  job.otherInputs = WindowInputs(state);
  job.workers = AvailableCores();
  if (map.map) {
    // The map counts its cells at its own tile size; its blocks bring their formats.
    job.map = &*map.map;
    job.mapFile = mapFile;
    if (map.map->tileSize) job.layout.tileSize = *map.map->tileSize;
    job.otherInputs.push_back({mapFile, {"ブロックマップ", "the block map"}});
    return job;
  }
  const PixelSize block = SelectionBlockSize(job.layout);
  // Default names only: they are unique, so naming cannot fail.
  job.names = NameBlocks(std::string(FileStem(state.picture.path)),
                         state.picture.width / block.width, state.picture.height / block.height, {})
                  .names;
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
  const OutputRequest request{
      true, {}, state.tilesets, state.picture.path, WindowInputs(state), {"アトラス", "atlas"}};
  if (!AskWhereToSave(owner, proposal, state.dialogs, request, state.language, path)) return;
  // Warned before anything is written; the window takes no input while the box shows.
  if (PlanOutput({true, path}).encoder.fallback)
    MessageBoxA(owner, InLanguage(kBitmapFallbackBox, state.language), "", MB_OK | MB_ICONWARNING);
  // The picture's block map, read now: it may have been saved since the picture was opened.
  const std::string mapFile = BlockMapPathFor(state.picture.path);
  const BlockMapFile map = ReadBlockMapFile(mapFile);
  if (map.exists && !map.map) {
    AtlasResult unread;
    // A map that was read names its line; one that was not says what kept it unread.
    const Phrase problem = map.problemLine != 0
                               ? map.problem
                               : Phrase("ブロックマップを読めません：" + map.problem.japanese,
                                        "cannot read the block map: " + map.problem.english);
    unread.problems.push_back({mapFile, false, problem});
    ShowExportFailure(owner, unread, state.language);
    return;
  }
  const AtlasResult result = RunAtlas(WholePictureJob(state, path, map, mapFile), {});
  if (result.ok())
    ShowExportCounts(owner, path, result, state.language);
  else
    ShowExportFailure(owner, result, state.language);
}

}  // namespace korvanth
