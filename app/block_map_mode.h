// The window's block-map mode (形式 > ブロックマップを編集): a click puts the current format's
// block on the picture's map or takes a mapped block off, the map's file beside the picture
// is written after each change (removed when its last block goes), and the mapped blocks
// are outlined.
//
// The file is the truth: it is read when a picture opens and again before each change, so a
// change made to it in a text editor meanwhile is kept. A file that cannot be read (a
// damaged map) is said so when the picture opens and when a click would change it; the
// window draws no outlines for it and never writes over it: fixed or removed, it is read
// again at the next click.
#pragma once

#include <vector>

#include "convert/block_map.h"
#include "platform/win32_api.h"
#include "viewer/block_outlines.h"

namespace korvanth {

struct WindowState;

struct BlockMapModeState {
  // Whether clicks edit the map; off in every new run (a click that saves then never
  // surprises by mapping).
  bool editing = false;
  BlockMap map;          // as last read from or written to the open picture's file
  bool readable = true;  // false: that file is there but cannot be read as a map
};

// Reads the map of the picture just opened (none for a failed load); a damaged one is
// said so in a message box.
void ReadPictureBlockMap(WindowState& state, HWND window);

// The mode's check item; false for any other command.
bool RunBlockMapCommand(WindowState& state, HWND window, WORD command);
void CheckBlockMapItem(const WindowState& state, HWND window);

// What a click or Enter on the picture does: in the mode it changes the map at the
// pointer's cell, otherwise it saves the block through the Save dialog.
void ActOnSelection(WindowState& state, HWND window);

// The outlines of the mapped blocks, in the mode; none otherwise.
std::vector<BlockOutline> BlockMapOutlines(const WindowState& state);

}  // namespace korvanth
