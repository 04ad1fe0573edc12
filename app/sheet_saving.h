// Saving the sheet of the block under the pointer, with the tilesets the 形式 menu asks
// for, through the one conversion path.
#pragma once

#include "convert/conversion_job.h"
#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

// Converts the selected block of the open picture by the current format and saves it at
// `path` (the ANSI name the Save dialog gives), then its tilesets. The fallback warning
// shows in a message box owned by `owner`, which takes no input until it is answered (a
// key meant for the box must not start another save).
ConversionResult SaveSelection(WindowState& state, HWND owner, const char* path);

// True exactly when the sheet was saved.
bool ExportSheet(WindowState& state, HWND owner, const char* path);

}  // namespace korvanth
