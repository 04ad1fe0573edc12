// The names an atlas gives its blocks' terrains: STEM_COLUMN_ROW by default, or the lines
// of a names file, one a block in row-major block order (an empty line keeps the default).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvanth {

// A names file larger than this is refused unread: a line a block for the largest
// picture's blocks fits many times over.
inline constexpr std::size_t kMaxNamesFileBytes = std::size_t{4} << 20;

// STEM_COLUMN_ROW.
std::string DefaultBlockName(std::string_view stem, int column, int row);

struct BlockNaming {
  std::vector<std::string> names;  // one per block, row-major
  std::string error;               // set (and names empty) when the file cannot be used
  bool ok() const { return error.empty(); }
};

// The names of `columns` x `rows` blocks. `namesText` is the names file's whole text
// ('\n' or "\r\n" ends a line; the last line needs no end), empty when there is none; a
// byte-order mark at its start is skipped. Every line must be valid UTF-8 without control
// characters; that, a name given twice (a default included), or a non-empty line beyond
// the last block, is an error naming the line.
BlockNaming NameBlocks(std::string_view stem, int columns, int rows, std::string_view namesText);

}  // namespace korvanth
