// The choices the window keeps between runs, and the small text file that holds them:
// one "key=value" line each, UTF-8 (a byte-order mark at the start is skipped). Reading is
// of bytes anyone could have written: a file over kMaxSettingsBytes is ignored whole;
// otherwise each line stands alone, and a line
// that is not "key=value", names no known key or carries a value out of its range is
// ignored, its setting keeping its default. The last of repeated keys wins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/ui_text.h"
#include "convert/layout_format.h"
#include "convert/tileset_targets.h"

namespace korvanth {

inline constexpr std::size_t kMaxSettingsBytes = std::size_t{1} << 20;
// A remembered folder or picture name, in bytes; longer ones are not remembered.
inline constexpr std::size_t kMaxRememberedPathBytes = 4096;
inline constexpr int kMaxRememberedZoom = 8;
// Window and preview coordinates stay within what Win32's 16-bit message fields carry.
inline constexpr int kMaxRememberedCoordinate = 32767;
inline constexpr int kMinRememberedWindowSide = 64;
inline constexpr int kMaxRememberedSaveFilter = 16;
// The ファイル menu's recent pictures, newest first.
inline constexpr std::size_t kMaxRecentPictures = 8;

struct RememberedPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const RememberedPoint&, const RememberedPoint&) = default;
};

struct RememberedSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const RememberedSize&, const RememberedSize&) = default;
};

// Defaults are a first start's choices; an absent optional was never remembered.
struct RememberedSettings {
  LayoutFormat format = LayoutFormat::Terrain1;
  int zoom = 1;              // 1 to kMaxRememberedZoom
  int tileSize = kTileSize;  // IsTileSize
  bool complete = false;
  bool previewShown = false;
  std::optional<RememberedPoint> previewCorner;  // the preview's outer top-left, screen pixels
  TilesetKinds tilesets = kNoTilesets;
  std::string openFolder;  // UTF-8, no control characters; empty: none
  std::string saveType;    // the extension saved under last, one of a type we write; empty: none
  int saveFilter = 0;      // the Save dialog's file type chosen last, 1-based; 0: none
  std::string picture;
  std::optional<RememberedSize> windowSize;  // the main window's outer size when restored
  bool statusBarShown = true;
  // Newest first, at most kMaxRecentPictures, each once ("recent-1" is the newest).
  std::vector<std::string> recentPictures;
  // The 色 menu's frame and background colours as the window keeps them, 0x00BBGGRR (the
  // file holds RRGGBB in hexadecimal); absent: the window's own defaults.
  std::optional<std::uint32_t> frameColour;
  std::optional<std::uint32_t> backgroundColour;
  UiLanguage language = UiLanguage::Japanese;
  friend bool operator==(const RememberedSettings&, const RememberedSettings&) = default;
};

// The settings the bytes hold, over the defaults, by the rules above.
RememberedSettings ParseSettings(std::span<const std::uint8_t> bytes);

// The file's text for `settings`, which ParseSettings reads back as it was. A name it could
// not read back (with a control character, not UTF-8, too long) is left out.
std::string FormatSettings(const RememberedSettings& settings);

}  // namespace korvanth
