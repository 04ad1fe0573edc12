// The window's settings file over any bytes. Whatever they are, every setting read is in
// its range (the recent pictures at most 8, each once), a byte-order mark in front changes
// nothing, and writing the settings out and reading them again gives the same settings.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/settings_text.h"

using namespace korvanth;

namespace {

RememberedSettings Parse(const std::string& text) {
  return ParseSettings({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

bool InRange(const RememberedSettings& s) {
  const auto coordinate = [](int v) {
    return v >= -kMaxRememberedCoordinate && v <= kMaxRememberedCoordinate;
  };
  if (s.zoom < 1 || s.zoom > kMaxRememberedZoom || !IsTileSize(s.tileSize)) return false;
  if ((s.tilesets & ~unsigned{kAllTilesets}) != 0) return false;
  if (s.previewCorner && !(coordinate(s.previewCorner->x) && coordinate(s.previewCorner->y)))
    return false;
  if (s.windowSize && (s.windowSize->width < kMinRememberedWindowSide ||
                       s.windowSize->height < kMinRememberedWindowSide ||
                       !coordinate(s.windowSize->width) || !coordinate(s.windowSize->height)))
    return false;
  if (!s.saveType.empty() && FileTypeForExtension(s.saveType) == nullptr) return false;
  if (s.saveFilter < 0 || s.saveFilter > kMaxRememberedSaveFilter) return false;
  for (const auto& colour : {s.frameColour, s.backgroundColour})
    if (colour && *colour > 0x00FFFFFF) return false;
  std::vector<const std::string*> names{&s.openFolder, &s.picture};
  for (const std::string& recent : s.recentPictures) {
    if (recent.empty()) return false;
    names.push_back(&recent);
  }
  for (const std::string* name : names)
    if (name->size() > kMaxRememberedPathBytes || name->find('\n') != std::string::npos)
      return false;
  // The recent pictures: at most the menu's number, each once.
  if (s.recentPictures.size() > kMaxRecentPictures) return false;
  for (std::size_t i = 0; i < s.recentPictures.size(); ++i)
    for (std::size_t j = i + 1; j < s.recentPictures.size(); ++j)
      if (s.recentPictures[i] == s.recentPictures[j]) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const RememberedSettings settings = ParseSettings({data, size});
  if (!InRange(settings)) {
    std::fprintf(stderr, "a setting out of its range was read\n");
    std::abort();
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  const bool markedAlready = text.rfind("\xEF\xBB\xBF", 0) == 0;  // then the second is text
  if (!markedAlready && Parse("\xEF\xBB\xBF" + text) != settings) {
    std::fprintf(stderr, "a byte-order mark changed the settings\n");
    std::abort();
  }
  if (Parse(FormatSettings(settings)) != settings) {
    std::fprintf(stderr, "the settings read changed on their way through the file\n");
    std::abort();
  }
  return 0;
}
