#include "convert/text_file.h"

#include <cstdint>
#include <vector>

#include "convert/utf8_path.h"

namespace korvanth {

SaveOutcome WriteTextFileWhole(const std::string& path, std::string_view text) {
  SaveOutcome outcome;
  const std::optional<std::vector<WCHAR>> wide = WidenUtf8(path);
  if (!wide) {
    // Not a name that can be opened as it stands; it is never repaired into another one.
    outcome.problem = SaveProblem::Other;
    outcome.status = InvalidParameter;
    return outcome;
  }
  // The sheets' own whole-or-nothing write: a short temporary name in the same folder,
  // then a move over the target; one table of causes on each host.
  outcome.problem =
      ReplaceFileWith(wide->data(), std::vector<std::uint8_t>(text.begin(), text.end()));
  outcome.status = StatusForProblem(outcome.problem);
  return outcome;
}

}  // namespace korvanth
