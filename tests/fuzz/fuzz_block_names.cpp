// An atlas's names file over any bytes: read as the converter reads it (bounded, whole) and
// turned into one name a block. The block grid comes from the input's length, so a
// reproducer replays as it ran. Whatever the bytes, the names are either refused with a
// reason or are one per block, all different, each a name a tileset can carry, and the
// same behind a byte-order mark.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "convert/block_names.h"
#include "convert/text_file.h"
#include "convert/tileset_description.h"
#include "tests/fuzz/fuzz_input.h"

using namespace korvanth;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::InputFile input(data, size);
  std::string text;
  if (!ReadSmallTextFile(input.path(), kMaxNamesFileBytes, text).empty()) return 0;
  if (text.size() != size) {
    std::fprintf(stderr, "a %zu-byte names file read back as %zu bytes\n", size, text.size());
    std::abort();
  }
  const int columns = 1 + static_cast<int>(size % 7);
  const int rows = 1 + static_cast<int>(size / 7 % 5);
  const BlockNaming naming = NameBlocks("tiles", columns, rows, text);
  // A byte-order mark in front changes nothing: it is never part of a name.
  const BlockNaming marked = NameBlocks("tiles", columns, rows, "\xEF\xBB\xBF" + text);
  const bool markedAlready = text.rfind("\xEF\xBB\xBF", 0) == 0;  // then the second is text
  if (!markedAlready && (marked.names != naming.names || marked.error != naming.error)) {
    std::fprintf(stderr, "a byte-order mark changed the names\n");
    std::abort();
  }
  if (!naming.ok()) {
    if (!naming.names.empty()) std::abort();
    return 0;
  }
  std::set<std::string> seen;
  for (const std::string& name : naming.names) {
    if (name.empty() || !IsTilesetSafeName(name) || !seen.insert(name).second) {
      std::fprintf(stderr, "names file gave an unusable or repeated name\n");
      std::abort();
    }
  }
  if (seen.size() != static_cast<std::size_t>(columns * rows)) std::abort();
  return 0;
}
