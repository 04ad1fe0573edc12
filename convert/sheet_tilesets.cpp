#include "convert/sheet_tilesets.h"

#include <utility>

#include "convert/text_file.h"
#include "convert/tileset_description.h"

namespace korvanth {

namespace {

// Where the folder part of a path ends: after its last separator ('\\' too on Windows).
size_t NameStart(const std::string& path) {
#ifdef _WIN32
  const auto separator = path.find_last_of("/\\:");
#else
  const auto separator = path.rfind('/');
#endif
  return separator == std::string::npos ? 0 : separator + 1;
}

}  // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string FileNameOf(const std::string& path) { return path.substr(NameStart(path)); }

TilesetKinds TilesetKindsFromName(std::string_view name) {
  if (name == kEveryTilesetName) return kBothTilesets;
  for (const TilesetTarget& target : kTilesetTargets)
    if (name == target.cliName) return TilesetKindOf(target);
  return kNoTilesets;
}

std::string TilesetPathFor(const std::string& sheetPath, std::string_view extension) {
  const size_t nameStart = NameStart(sheetPath);
  const std::string_view name = std::string_view(sheetPath).substr(nameStart);
  return sheetPath.substr(0, nameStart) + std::string(FileStem(name)) + std::string(extension);
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

std::vector<TilesetWriteFailure> WriteSheetTilesets(TilesetKinds kinds, SheetLayout layout,
                                                    const std::string& sheetPath,
                                                    const FileType& sheetType,
                                                    const TerrainLook& look) {
  std::vector<TilesetWriteFailure> failures;
  const std::string sheetName = sheetPath.substr(NameStart(sheetPath));
  const TilesetDescription description = DescribeSheet(layout, sheetName, look);
  for (const TilesetTarget& target : kTilesetTargets) {
    if (!(kinds & TilesetKindOf(target))) continue;
    const std::string path = TilesetPathFor(sheetPath, target.extension);
    if (std::string refusal = SheetTypeRefusal(target, sheetType); !refusal.empty()) {
      failures.push_back({path, std::move(refusal)});
      continue;
    }
    if (SameNameIgnoringCase(path, sheetPath)) {
      failures.push_back({path, "it is the sheet itself"});
      continue;
    }
    if (!IsTilesetSafeName(sheetName)) {
      failures.push_back({path, "the sheet's name holds characters a tileset cannot carry"});
      continue;
    }
    const SaveOutcome outcome = WriteTextFileWhole(path, TilesetText(target, description));
    if (!outcome.ok()) failures.push_back({path, SaveProblemText(outcome.problem)});
  }
  return failures;
}

}  // namespace korvanth
