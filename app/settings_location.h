// Where the remembered choices live: one file in the user's configuration folder.
#pragma once

#include <string>

namespace korvanth {

// The settings file's full name (UTF-8): $XDG_CONFIG_HOME/korvanth/settings.conf (by default
// ~/.config/korvanth/) off Windows, %APPDATA%\Korvanth\settings.conf on Windows. Empty when
// the host names no such folder; then nothing is read or written.
std::string SettingsFilePath();

}  // namespace korvanth
