// The tileset targets' phrases built from the table: which sheet types an editor imports.
#include "convert/tileset_targets.h"

#include <vector>

namespace korvanth {

namespace {

// "a", "a and b", "a, b and c" (or "or" for the last).
std::string ListOf(const std::vector<std::string_view>& words, std::string_view last) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i + 1 == words.size() && i > 0)
      text.append(" ").append(last).append(" ");
    else if (i > 0)
      text.append(", ");
    text.append(words[i]);
  }
  return text;
}

constexpr std::string_view kTypesMark = "{types}";

}  // namespace

std::string ImportedTypesPhrase(const TilesetTarget& target) {
  if (target.sheetTypes.empty()) return {};
  std::vector<std::string_view> refused;
  for (const FileType& type : FileTypes())
    if (!target.importsSheet(type)) refused.push_back(type.extensions[0]);
  std::string phrase =
      ListOf({target.sheetTypes.begin(), target.sheetTypes.end()}, "and") + " sheets";
  if (!refused.empty()) phrase += ", not " + ListOf(refused, "or");
  return phrase;
}

std::string HowToUse(const TilesetTarget& target) {
  std::string text = target.howToUse;
  if (const auto mark = text.find(kTypesMark); mark != std::string::npos)
    text.replace(mark, kTypesMark.size(), ImportedTypesPhrase(target));
  return text;
}

}  // namespace korvanth
