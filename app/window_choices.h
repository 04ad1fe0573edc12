// The window's remembered choices over one run: read from the settings file before the
// window opens, put into the window's state, and written back as the window closes.
#pragma once

#include <string>

#include "app/command_line.h"
#include "app/settings_text.h"
#include "convert/layout_format.h"
#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

struct SettingsRead {
  RememberedSettings settings;  // the defaults when the file is missing or unusable
  bool readable = true;         // false: the file is there but could not be read
};

// Reads the settings file at `path` (UTF-8). A file that is there but cannot be read is
// named on stderr with the reason; a missing one is a first start and says nothing.
SettingsRead ReadSettingsFile(const std::string& path);

// Writes `settings` at `path` whole or not at all, making its folder when needed; says
// why on stderr when it cannot. A link at `path` keeps pointing where it did.
bool WriteSettingsFile(const std::string& path, const RememberedSettings& settings);

// The start of a run, before the window exists: reads the settings file (unless the command
// line says --reset-settings) and puts its choices, then the command line's picture and
// language, into the window's state.
void BeginRun(WindowState& state, const WindowCommandLine& command);

// The picture the window opens as it first shows: argument 1, else the remembered picture
// while its file is there, else the bundled sample; empty for none.
std::string PictureToOpenAtStart(const WindowState& state);

// The picture's size as its file's header gives it; 0 x 0 when it cannot be loaded.
PixelSize PictureSizeOnDisk(const std::string& path);

// The window's first showing: the preview comes back where and as it was remembered.
void ShowRememberedPreview(WindowState& state, HWND window);

// The choices as they stand, the window's restored size and the preview's place included.
RememberedSettings CurrentChoices(const WindowState& state, HWND window);

// The window is closing: writes the current choices when this run keeps a settings file
// that could be read (or was not there).
void RememberChoices(const WindowState& state, HWND window);

}  // namespace korvanth
