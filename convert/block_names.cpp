// Names an atlas's block terrains: STEM_COLUMN_ROW, or the checked lines of a names file.
#include "convert/block_names.h"

#include <map>

#include "convert/text_file.h"

namespace korvanth {

namespace {

// The file's lines without their ends; a final line end opens no further line.
std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

BlockNaming Refuse(std::string error) { return {{}, std::move(error)}; }

}  // namespace

std::string DefaultBlockName(std::string_view stem, int column, int row) {
  return std::string(stem) + "_" + std::to_string(column) + "_" + std::to_string(row);
}

BlockNaming NameBlocks(std::string_view stem, int columns, int rows, std::string_view namesText) {
  namesText = WithoutByteOrderMark(namesText);
  if (const std::size_t bad = FirstUnreadableLine(namesText); bad != 0)
    return Refuse(UnreadableLineText(bad));
  const std::vector<std::string_view> lines = LinesOf(namesText);
  const std::size_t count = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
  for (std::size_t line = count; line < lines.size(); ++line)
    if (!lines[line].empty())
      return Refuse("line " + std::to_string(line + 1) +
                    " names a block the picture lacks (it has " + std::to_string(count) + ")");
  BlockNaming naming;
  std::map<std::string, std::size_t> seen;  // name -> its block
  for (std::size_t block = 0; block < count; ++block) {
    const int column = static_cast<int>(block % static_cast<std::size_t>(columns));
    const int row = static_cast<int>(block / static_cast<std::size_t>(columns));
    std::string name;
    if (block < lines.size() && !lines[block].empty()) {
      name = std::string(lines[block]);
    } else {
      name = DefaultBlockName(stem, column, row);
    }
    const auto [at, added] = seen.emplace(name, block);
    if (!added)
      return Refuse("the name '" + name + "' is given to two blocks (lines " +
                    std::to_string(at->second + 1) + " and " + std::to_string(block + 1) + ")");
    naming.names.push_back(std::move(name));
  }
  return naming;
}

}  // namespace korvanth
