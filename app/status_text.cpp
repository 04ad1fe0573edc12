// The status bar's texts, built from plain facts in either language.
#include "app/status_text.h"

#include "app/main_menu.h"
#include "convert/utf8_path.h"

namespace korvanth {

namespace {

// The format as its 形式 menu item names it, without the mnemonic: "地形1(&L)" gives
// "地形1", "Terrain&1" gives "Terrain1".
std::string FormatName(LayoutFormat format, UiLanguage language) {
  std::string caption = InLanguage(FormatMenuItemFor(format).caption, language);
  if (const std::size_t mark = caption.find("(&"); mark != std::string::npos)
    return caption.substr(0, mark);
  std::erase(caption, '&');
  return caption;
}

std::string Pair(int first, int second) {
  return std::to_string(first) + ", " + std::to_string(second);
}

}  // namespace

std::string PointerStatusText(const PointerFacts& facts, UiLanguage language) {
  const std::string cell = Pair(facts.cell.column, facts.cell.row);
  const std::string block = Pair(facts.block.x, facts.block.y);
  const std::string format = FormatName(facts.format, language);
  const std::string tile = std::to_string(facts.tileSize);
  const std::string zoom = std::to_string(facts.zoom);
  if (language == UiLanguage::English)
    return "Cell " + cell + "   Block at " + block + "   " + format + "   Tile " + tile + "   " +
           zoom + "x";
  return "セル " + cell + "　ブロック " + block + "　" + format + "　タイル " + tile + "　" + zoom +
         "倍";
}

std::string SavedStatusText(std::string_view path, std::size_t tilesets, UiLanguage language) {
  const std::string name = PrintableName(path);
  const std::string count = std::to_string(tilesets);
  if (language == UiLanguage::English) {
    if (tilesets == 0) return "saved " + name;
    return "saved " + name + " (and " + count + (tilesets == 1 ? " tileset)" : " tilesets)");
  }
  if (tilesets == 0) return "保存しました: " + name;
  return "保存しました: " + name + "（タイルセット " + count + " 個）";
}

std::string ReloadedStatusText(std::string_view path, UiLanguage language) {
  const std::string name = PrintableName(path);
  if (language == UiLanguage::English) return "reloaded " + name + " (it changed on disk)";
  return "変更されたので読み込み直しました: " + name;
}

std::string ReloadFailedStatusText(std::string_view path, LoadProblem problem,
                                   UiLanguage language) {
  const std::string name = PrintableName(path);
  const std::string reason = LoadProblemText(problem);
  if (language == UiLanguage::English)
    return name + " changed but could not be read (" + reason + "); the last good picture stays";
  return "変更されましたが読み込めませんでした: " + name + "（" + reason +
         "）。前に読めたピクチャのままです";
}

}  // namespace korvanth
