// Saving the sheet of the block under the pointer, with the tilesets the 形式 menu asks
// for, through the one conversion path.
#pragma once

#include "convert/conversion_job.h"

namespace korvanth {

struct WindowState;

// Converts the selected block of the open picture by the current format and saves it at
// `path` (the ANSI name the Save dialog gives), then its tilesets. The fallback warning
// shows in a message box without an owner (the window stays usable); the window's state
// is read again once it is dismissed.
ConversionResult SaveSelection(WindowState& state, const char* path);

// True exactly when the sheet was saved.
bool ExportSheet(WindowState& state, const char* path);

}  // namespace korvanth
