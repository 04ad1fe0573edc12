// Fills the file type lists into the converter's manual page from the file type table and
// the tileset targets, as the converter's --help has them: a new type needs no edit of
// the page. Usage: fill_type_lists PAGE_TEMPLATE PAGE
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "convert/tileset_targets.h"
#include "imaging/file_types.h"

using namespace korvanth;

namespace {

// "png (the default), bmp, gif, jpg or tif".
std::string TypesDefaultFirst() {
  const auto types = FileTypes();
  std::string text = std::string(types[0].extensions[0]) + " (the default)";
  for (std::size_t i = 1; i < types.size(); ++i)
    text += (i + 1 == types.size() ? " or " : ", ") + std::string(types[i].extensions[0]);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: fill_type_lists PAGE_TEMPLATE PAGE\n", stderr);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "fill_type_lists: cannot read %s\n", argv[1]);
    return 1;
  }
  std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::pair<std::string, std::string>> values = {
      {"@TYPE_CHOICES@", CanonicalExtensions("", " | ")},
      {"@EXTENSION_SPELLINGS@", ExtensionSpellings()},
      {"@TYPES_DEFAULT_FIRST@", TypesDefaultFirst()},
  };
  for (const TilesetTarget& target : kTilesetTargets)
    values.emplace_back("@SHEET_TYPES_" + std::string(target.cliName) + "@",
                        ImportedTypesPhrase(target));
  for (const auto& [key, value] : values)
    for (auto at = page.find(key); at != std::string::npos; at = page.find(key, at))
      page.replace(at, key.size(), value);
  std::ofstream out(argv[2], std::ios::binary);
  out << page;
  out.close();
  return out ? 0 : 1;
}
