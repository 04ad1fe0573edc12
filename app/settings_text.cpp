// Remembered settings as key=value text: untrusted lines parsed over the defaults, and formatted.
#include "app/settings_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>

#include "app/language_codes.h"
#include "convert/format_registry.h"
#include "convert/text_file.h"
#include "convert/utf8_path.h"
#include "imaging/byte_reader.h"
#include "imaging/file_types.h"

namespace korvanth {

namespace {

// Whole decimal numbers only: an optional '-' and up to six digits, nothing else.
std::optional<int> NumberIn(std::string_view text, int low, int high) {
  if (text.empty() || text.size() > 7) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

// Six hexadecimal digits, RRGGBB as colour pickers write them, to the window's 0x00BBGGRR.
std::optional<std::uint32_t> ColourNamed(std::string_view text) {
  if (text.size() != 6) return std::nullopt;
  std::uint32_t rgb = 0;
  for (const char c : text) {
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return std::nullopt;
    rgb = rgb << 4 | static_cast<std::uint32_t>(digit);
  }
  return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | rgb >> 16;
}

std::string ColourText(std::uint32_t colour) {
  char text[7];
  std::snprintf(text, sizeof text, "%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return text;
}

std::optional<bool> YesOrNo(std::string_view text) {
  if (text == "yes") return true;
  if (text == "no") return false;
  return std::nullopt;
}

// A name to hand back to the file functions: well-formed UTF-8 without control characters.
bool IsRememberablePath(std::string_view text) {
  if (text.size() > kMaxRememberedPathBytes || !IsValidUtf8(text)) return false;
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

// "none", or target names joined by commas, each at most once.
std::optional<TilesetKinds> TilesetsNamed(std::string_view text) {
  if (text == "none") return kNoTilesets;
  unsigned kinds = 0;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view name = text.substr(0, comma);
    const TilesetTarget* found = nullptr;
    for (const TilesetTarget& target : kTilesetTargets)
      if (target.cliName == name) found = &target;
    if (found == nullptr || (kinds & TilesetKindOf(*found)) != 0) return std::nullopt;
    kinds |= TilesetKindOf(*found);
    if (comma == std::string_view::npos) return TilesetKinds(kinds);
    text.remove_prefix(comma + 1);
  }
}

std::string TilesetsText(TilesetKinds kinds) {
  std::string text;
  for (const TilesetTarget& target : kTilesetTargets) {
    if ((kinds & TilesetKindOf(target)) == 0) continue;
    if (!text.empty()) text += ',';
    text += target.cliName;
  }
  return text.empty() ? "none" : text;
}

// A point or size is remembered only when both its halves are; the halves wait here.
struct PairedHalves {
  std::optional<int> previewX, previewY, windowWidth, windowHeight;
  // The recent pictures by their number, put in order once every line is read.
  std::optional<std::string> recent[kMaxRecentPictures];
};

constexpr std::string_view kRecentKey = "recent-";

// "recent-N" with N from 1 to kMaxRecentPictures: its slot, N - 1.
std::optional<std::size_t> RecentSlot(std::string_view key) {
  if (!key.starts_with(kRecentKey)) return std::nullopt;
  const auto number =
      NumberIn(key.substr(kRecentKey.size()), 1, static_cast<int>(kMaxRecentPictures));
  if (!number || key.substr(kRecentKey.size()).front() == '0') return std::nullopt;
  return static_cast<std::size_t>(*number - 1);
}

void ApplyLine(std::string_view key, std::string_view value, RememberedSettings& settings,
               PairedHalves& halves) {
  constexpr int kMax = kMaxRememberedCoordinate;
  if (key == "format") {
    if (const FormatEntry* entry = FormatEntryForCliName(value)) settings.format = entry->format;
  } else if (key == "zoom") {
    if (const auto zoom = NumberIn(value, 1, kMaxRememberedZoom)) settings.zoom = *zoom;
  } else if (key == "tile-size") {
    const auto size = NumberIn(value, kMinTileSize, kMaxTileSize);
    if (size && IsTileSize(*size)) settings.tileSize = *size;
  } else if (key == "complete") {
    if (const auto yes = YesOrNo(value)) settings.complete = *yes;
  } else if (key == "preview") {
    if (const auto yes = YesOrNo(value)) settings.previewShown = *yes;
  } else if (key == "preview-x") {
    halves.previewX = NumberIn(value, -kMax, kMax);
  } else if (key == "preview-y") {
    halves.previewY = NumberIn(value, -kMax, kMax);
  } else if (key == "tilesets") {
    if (const auto kinds = TilesetsNamed(value)) settings.tilesets = *kinds;
  } else if (key == "open-folder" || key == "picture") {
    if (!IsRememberablePath(value)) return;
    (key == "open-folder" ? settings.openFolder : settings.picture).assign(value);
  } else if (key == "save-type") {
    if (FileTypeForExtension(value) != nullptr) settings.saveType.assign(value);
  } else if (key == "save-filter") {
    if (const auto filter = NumberIn(value, 1, kMaxRememberedSaveFilter))
      settings.saveFilter = *filter;
  } else if (key == "language") {
    if (const auto language = LanguageOfCode(value)) settings.language = *language;
  } else if (key == "window-width") {
    halves.windowWidth = NumberIn(value, kMinRememberedWindowSide, kMax);
  } else if (key == "window-height") {
    halves.windowHeight = NumberIn(value, kMinRememberedWindowSide, kMax);
  } else if (key == "status-bar") {
    if (const auto yes = YesOrNo(value)) settings.statusBarShown = *yes;
  } else if (const auto slot = RecentSlot(key)) {
    if (IsRememberablePath(value) && !value.empty()) halves.recent[*slot].emplace(value);
  } else if (key == "frame-colour") {
    if (const auto colour = ColourNamed(value)) settings.frameColour = colour;
  } else if (key == "background-colour") {
    if (const auto colour = ColourNamed(value)) settings.backgroundColour = colour;
  }
}

}  // namespace

RememberedSettings ParseSettings(std::span<const std::uint8_t> bytes) {
  RememberedSettings settings;
  if (bytes.size() > kMaxSettingsBytes) return settings;
  PairedHalves halves;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const std::size_t mark = text.size() - WithoutByteOrderMark(text).size();
  imaging::ByteReader reader(bytes.subspan(mark));
  std::string line;
  while (reader.remaining() > 0) {
    line.clear();
    while (reader.remaining() > 0) {
      const std::uint32_t byte = reader.U8();
      if (byte == '\n') break;
      line += static_cast<char>(byte);
    }
    std::string_view text = line;
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    const std::size_t equals = text.find('=');
    if (text.empty() || text.front() == '#' || equals == std::string_view::npos) continue;
    ApplyLine(text.substr(0, equals), text.substr(equals + 1), settings, halves);
  }
  if (halves.previewX && halves.previewY)
    settings.previewCorner = RememberedPoint{*halves.previewX, *halves.previewY};
  if (halves.windowWidth && halves.windowHeight)
    settings.windowSize = RememberedSize{*halves.windowWidth, *halves.windowHeight};
  for (const auto& recent : halves.recent)
    if (recent && std::find(settings.recentPictures.begin(), settings.recentPictures.end(),
                            *recent) == settings.recentPictures.end())
      settings.recentPictures.push_back(*recent);
  return settings;
}

std::string FormatSettings(const RememberedSettings& settings) {
  std::string text = "# Korvanth's remembered choices, written when the window closes.\n";
  const auto line = [&text](std::string_view key, std::string_view value) {
    text.append(key).append("=").append(value).append("\n");
  };
  const auto yesNo = [](bool yes) { return yes ? "yes" : "no"; };
  line("format", FormatEntryFor(settings.format).cliName);
  line("zoom", std::to_string(settings.zoom));
  line("tile-size", std::to_string(settings.tileSize));
  line("complete", yesNo(settings.complete));
  line("tilesets", TilesetsText(settings.tilesets));
  line("preview", yesNo(settings.previewShown));
  line("language", LanguageCode(settings.language));
  if (settings.previewCorner) {
    line("preview-x", std::to_string(settings.previewCorner->x));
    line("preview-y", std::to_string(settings.previewCorner->y));
  }
  if (settings.windowSize) {
    line("window-width", std::to_string(settings.windowSize->width));
    line("window-height", std::to_string(settings.windowSize->height));
  }
  if (settings.frameColour) line("frame-colour", ColourText(*settings.frameColour));
  if (settings.backgroundColour) line("background-colour", ColourText(*settings.backgroundColour));
  // A name that could not be read back (a newline in it, say) is left out.
  const auto path = [&line](std::string_view key, const std::string& name) {
    if (!name.empty() && IsRememberablePath(name)) line(key, name);
  };
  path("open-folder", settings.openFolder);
  if (FileTypeForExtension(settings.saveType) != nullptr) line("save-type", settings.saveType);
  if (settings.saveFilter >= 1 && settings.saveFilter <= kMaxRememberedSaveFilter)
    line("save-filter", std::to_string(settings.saveFilter));
  path("picture", settings.picture);
  line("status-bar", yesNo(settings.statusBarShown));
  int recent = 0;
  for (const std::string& name : settings.recentPictures)
    if (recent < static_cast<int>(kMaxRecentPictures) && !name.empty() && IsRememberablePath(name))
      line(std::string(kRecentKey) + std::to_string(++recent), name);
  return text;
}

}  // namespace korvanth
