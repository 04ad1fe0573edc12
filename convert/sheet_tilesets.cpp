// The tileset files beside a saved sheet: their names, the sheet types they take, writing them.
#include "convert/sheet_tilesets.h"

#include <string>

namespace korvanth {

TilesetKinds TilesetKindsFromName(std::string_view name) {
  if (name == kEveryTilesetName) return kAllTilesets;
  for (const TilesetTarget& target : kTilesetTargets)
    if (name == target.cliName) return TilesetKindOf(target);
  return kNoTilesets;
}

std::string SheetTypeRefusal(const TilesetTarget& target, const FileType& type) {
  if (target.importsSheet(type)) return {};
  // The first type it reads, then the others in brackets: ".png (or .bmp, .jpg)".
  std::string first, others;
  for (const FileType& other : FileTypes()) {
    if (!target.importsSheet(other)) continue;
    std::string& list = first.empty() ? first : others;
    if (!list.empty()) list += ", ";
    list += '.';
    list += other.extensions[0];
  }
  std::string text(target.editorName);
  text += " cannot import ";
  text += type.extensions[0];
  text += " pictures; save the sheet as ";
  text += first;
  if (!others.empty()) text += " (or " + others + ")";
  return text;
}

}  // namespace korvanth
