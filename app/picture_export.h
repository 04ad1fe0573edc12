// ファイル > ピクチャ全体を書き出す: every whole block of the open picture into one atlas
// and its tilesets, as the converter's --all --atlas writes them.
#pragma once

#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

// Asks for the atlas's name in the Save dialog, writes the atlas at the window's current
// format, tile size, complete setting and tilesets, then shows the counts of blocks
// written and skipped, or the failure box naming the files and the reasons. With a block
// map beside the picture (PICTURE.blocks) its blocks go in instead, each at its own
// format, at the map's tile size when it names one; a map that cannot be used is named in
// the failure box. Without a picture it says so and asks nothing.
void RunWholePictureExport(WindowState& state, HWND owner);

}  // namespace korvanth
