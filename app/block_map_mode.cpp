// The block-map mode: its menu item, the map read and written beside the picture, outlines.
#include "app/block_map_mode.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "app/block_map_click.h"
#include "app/file_dialogs.h"
#include "app/menu_resource.h"
#include "app/sheet_preview.h"
#include "app/ui_text.h"
#include "app/window_state.h"
#include "convert/block_map_file.h"
#include "convert/text_file.h"
#include "convert/utf8_path.h"

namespace korvanth {

namespace {

constexpr UiText kDamagedMap = {
    "ブロックマップを読めません。直すか消すまで、このファイルには書き込みません。",
    "The block map cannot be read. It is not written to until you fix or remove it."};
constexpr UiText kMapNotSaved = {"ブロックマップを保存できませんでした。",
                                 "The block map could not be saved."};
constexpr UiText kBlocksOverlap = {"ここにはブロックを置けません。次のブロックと重なります。",
                                   "No block fits here: it would overlap this block."};
constexpr UiText kOtherTileSize = {
    "このブロックマップは別のタイルサイズで数えています。"
    "そのタイルサイズにしてから置いてください。",
    "This block map counts its cells at another tile size. Choose that size to add blocks."};
constexpr UiText kNoRoom = {"ピクチャがこの形式のブロックより小さいので、置けません。",
                            "The picture is smaller than a block of this format."};

void Tell(const WindowState& state, HWND window, const UiText& what, const std::string& detail,
          UINT icon) {
  std::string text = InLanguage(what, state.language);
  if (!detail.empty()) text.append("\n").append(detail);
  MessageBoxA(window, text.c_str(), "", MB_OK | icon);
}

// The file and the cause in the window's language.
std::string FileAndCause(const WindowState& state, const std::string& path, const Phrase& cause) {
  return PrintableName(path) + "\n(" + InLanguage(cause, state.language) + ")";
}

// The picture's map as its file holds it now, into the state; the reason when the file is
// there but cannot be read (empty when it can, or when there is none).
Phrase ReadMapFile(WindowState& state) {
  BlockMapModeState& mode = state.blockMap;
  mode.map = {};
  mode.readable = true;
  if (state.picture.path.empty()) return {};
  BlockMapFile file = ReadBlockMapFile(BlockMapPathFor(state.picture.path));
  if (!file.exists) return {};
  if (!file.map) {
    mode.readable = false;
    return file.problem;
  }
  mode.map = std::move(*file.map);
  return {};
}

void TellDamagedMap(const WindowState& state, HWND window, const Phrase& problem) {
  Tell(state, window, kDamagedMap,
       FileAndCause(state, BlockMapPathFor(state.picture.path), problem), MB_ICONERROR);
}

// The map's file gone: a map without blocks is no use to any conversion (the converter
// refuses one), and without a file the picture's blocks are its grid again.
SaveProblem RemoveMapFile(const std::string& path) {
  std::error_code error;
  std::filesystem::remove(std::filesystem::path(std::u8string(path.begin(), path.end())), error);
  return error ? SaveProblemFromErrorCode(error) : SaveProblem::None;
}

void WriteMap(WindowState& state, HWND window, BlockMap map) {
  const std::string path = BlockMapPathFor(state.picture.path);
  const SaveProblem problem = map.blocks.empty()
                                  ? RemoveMapFile(path)
                                  : WriteTextFileWhole(path, BlockMapText(map)).problem;
  if (problem == SaveProblem::None)
    state.blockMap.map = std::move(map);
  else
    Tell(state, window, kMapNotSaved, FileAndCause(state, path, Phrase(SaveProblemCause(problem))),
         MB_ICONERROR);
}

// The click of the mode: the file read again, the change made to what it holds.
void ChangeMapAtPointer(WindowState& state, HWND window) {
  if (const Phrase problem = ReadMapFile(state); !problem.empty()) {
    TellDamagedMap(state, window, problem);
    InvalidateRect(window, nullptr, FALSE);
    return;
  }
  const MapClick click{{state.view.cursor.column, state.view.cursor.row},
                       state.format,
                       state.tileSize,
                       {state.picture.width, state.picture.height},
                       FileStem(state.picture.path)};
  MapChange change = ClickBlockMap(state.blockMap.map, click);
  switch (change.result) {
    case MapClickResult::Added:
    case MapClickResult::Removed:
      WriteMap(state, window, std::move(change.map));
      break;
    case MapClickResult::Overlaps:
      Tell(state, window, kBlocksOverlap, change.name, MB_ICONINFORMATION);
      break;
    case MapClickResult::OtherTileSize:
      Tell(state, window, kOtherTileSize,
           std::string("tile-size ")
               .append(std::to_string(MapTileSize(state.blockMap.map, state.tileSize))),
           MB_ICONINFORMATION);
      break;
    case MapClickResult::NoRoom:
      Tell(state, window, kNoRoom, {}, MB_ICONINFORMATION);
      break;
  }
  InvalidateRect(window, nullptr, FALSE);
}

}  // namespace

void ReadPictureBlockMap(WindowState& state, HWND window) {
  if (const Phrase problem = ReadMapFile(state); !problem.empty())
    TellDamagedMap(state, window, problem);
}

bool RunBlockMapCommand(WindowState& state, HWND window, WORD command) {
  if (command != IDM_FORMAT_BLOCK_MAP) return false;
  state.blockMap.editing = !state.blockMap.editing;
  // Entering the mode shows the file as it is now; a damaged one was said so at the open.
  if (state.blockMap.editing) ReadMapFile(state);
  CheckBlockMapItem(state, window);
  InvalidateRect(window, nullptr, FALSE);
  RefreshSheetPreview(state);  // the block snaps to whole cells in the mode
  return true;
}

void CheckBlockMapItem(const WindowState& state, HWND window) {
  CheckMenuItem(GetMenu(window), IDM_FORMAT_BLOCK_MAP,
                MF_BYCOMMAND | (state.blockMap.editing ? MF_CHECKED : MF_UNCHECKED));
}

void ActOnSelection(WindowState& state, HWND window) {
  if (!state.picture.exists()) return;
  if (!state.blockMap.editing) {
    RunSaveDialog(state, window);
    return;
  }
  if (!state.picture.path.empty()) ChangeMapAtPointer(state, window);
}

std::vector<BlockOutline> BlockMapOutlines(const WindowState& state) {
  const BlockMapModeState& mode = state.blockMap;
  if (!mode.editing || !mode.readable) return {};
  const int size = MapTileSize(mode.map, state.tileSize);
  std::vector<BlockOutline> outlines;
  outlines.reserve(mode.map.blocks.size());
  for (const MappedBlock& block : mode.map.blocks) {
    const PixelSize cells = BlockSizeInCells(block.format);
    outlines.push_back({std::int64_t{block.column} * size,
                        std::int64_t{block.row} * size,
                        {cells.width * size, cells.height * size},
                        block.frames,
                        block.format});
  }
  return outlines;
}

}  // namespace korvanth
