// A block map's file: read through the bounded reader of small text files, then parsed.
#include "convert/block_map_file.h"

#include "convert/text_file.h"
#include "imaging/input_file.h"

namespace korvanth {

BlockMapFile ReadBlockMapFile(const std::string& path) {
  BlockMapFile file;
  std::string text;
  file.problem = ReadSmallTextFile(path, kMaxBlockMapBytes, text);
  if (!file.problem.empty()) {
    file.exists =
        file.problem != Phrase(imaging::InputProblemCause(imaging::InputProblem::Missing));
    return file;
  }
  BlockMapParse parsed = ParseBlockMap(text);
  file.map = std::move(parsed.map);
  file.problem = std::move(parsed.problem);
  file.problemLine = parsed.problemLine;
  return file;
}

}  // namespace korvanth
