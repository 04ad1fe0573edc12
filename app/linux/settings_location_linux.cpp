// Off Windows: the settings file under $XDG_CONFIG_HOME, else ~/.config; relative values ignored.
#include <cstdlib>
#include <string>

#include "app/settings_location.h"

namespace korvanth {

namespace {

// The base directory rules: a relative or empty value counts as unset.
std::string AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return {};
  return value;
}

}  // namespace

std::string SettingsFilePath() {
  std::string folder = AbsoluteVariable("XDG_CONFIG_HOME");
  if (folder.empty()) {
    const std::string home = AbsoluteVariable("HOME");
    if (home.empty()) return {};
    folder = home + "/.config";
  }
  return folder + "/korvanth/settings.conf";
}

}  // namespace korvanth
