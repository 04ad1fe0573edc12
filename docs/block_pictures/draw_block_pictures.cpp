// Draws the README's block pictures, one SVG a layout format, from the format registry's
// quarter tables and block descriptions: docs/blocks/FORMAT.svg. A test holds the committed
// pictures to what this program draws, so they change with the tables.
// Usage: draw_block_pictures OUTDIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "block_svg.h"
#include "convert/format_registry.h"
#include "quarter_looks.h"

int main(int argc, char** argv) {
  using namespace korvanth;
  if (argc != 2) {
    std::fputs("usage: draw_block_pictures OUTDIR\n", stderr);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  for (const FormatEntry& entry : FormatRegistry()) {
    const block_pictures::BlockLooks looks = block_pictures::LooksOf(entry);
    if (!looks.problem.empty()) {
      std::fprintf(stderr, "draw_block_pictures: %s: %s\n", std::string(entry.cliName).c_str(),
                   looks.problem.c_str());
      return 1;
    }
    const std::filesystem::path file = folder / (std::string(entry.cliName) + ".svg");
    std::ofstream out(file, std::ios::binary);
    out << block_pictures::BlockSvg(entry, looks);
    if (!out.flush()) {
      std::fprintf(stderr, "draw_block_pictures: cannot write %s\n", file.string().c_str());
      return 1;
    }
  }
  return 0;
}
