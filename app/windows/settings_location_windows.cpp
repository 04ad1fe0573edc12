// On Windows: the settings file under the roaming application data folder (%APPDATA%).
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>

#include "app/settings_location.h"

namespace korvanth {

namespace {

std::string Utf8Of(const wchar_t* wide) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return {};
  std::string text(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
  text.pop_back();  // the terminator
  return text;
}

// The roaming application data folder, as the shell names it, else as the environment does.
std::string RoamingFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, folder)))
    return Utf8Of(folder);
  const wchar_t* variable = _wgetenv(L"APPDATA");
  return variable != nullptr ? Utf8Of(variable) : std::string();
}

}  // namespace

std::string SettingsFilePath() {
  const std::string folder = RoamingFolder();
  return folder.empty() ? std::string() : folder + "\\Korvanth\\settings.conf";
}

}  // namespace korvanth
