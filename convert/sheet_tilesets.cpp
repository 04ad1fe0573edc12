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

Phrase SheetTypeRefusal(const TilesetTarget& target, const FileType& type) {
  if (target.importsSheet(type)) return {};
  // The first type it reads, then the others in brackets: ".png (or .bmp, .jpg)".
  std::string first, others, othersJapanese;
  for (const FileType& other : FileTypes()) {
    if (!target.importsSheet(other)) continue;
    const std::string extension = "." + std::string(other.extensions[0]);
    if (first.empty()) {
      first = extension;
      continue;
    }
    others += (others.empty() ? "" : ", ") + extension;
    othersJapanese += (othersJapanese.empty() ? "" : "、") + extension;
  }
  const std::string editor(target.editorName);
  const std::string typeName(type.extensions[0]);
  return {editor + "は" + typeName + "の画像を読み込めません。シートは" + first +
              (othersJapanese.empty() ? "" : "（または" + othersJapanese + "）") +
              "で保存してください",
          editor + " cannot import " + typeName + " pictures; save the sheet as " + first +
              (others.empty() ? "" : " (or " + others + ")")};
}

}  // namespace korvanth
