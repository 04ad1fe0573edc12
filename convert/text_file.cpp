// Small text files: a bounded whole read, a whole-or-nothing write, the line rule for inputs.
#include "convert/text_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "convert/tileset_description.h"
#include "convert/utf8_path.h"
#include "imaging/byte_reader.h"
#include "imaging/input_file.h"

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

namespace {

// Opens the input named `path` (UTF-8) for reading: a regular file only, never waited on.
imaging::OpenedInput OpenNamedInput(const std::string& path) {
#ifdef _WIN32
  const std::optional<std::vector<WCHAR>> wide = WidenUtf8(path);
  if (!wide) return {nullptr, imaging::InputProblem::Other, EINVAL};
  return imaging::OpenInputFile(reinterpret_cast<const wchar_t*>(wide->data()));
#else
  return imaging::OpenInputFile(path.c_str());
#endif
}

}  // namespace

Phrase ReadSmallTextFile(const std::string& path, std::size_t maxBytes, std::string& text) {
  text.clear();
  const imaging::OpenedInput input = OpenNamedInput(path);
  if (input.file == nullptr) return Phrase(imaging::InputProblemCause(input.problem));
  imaging::FileReader reader(input.file);
  std::vector<std::uint8_t> bytes;
  Phrase problem;
  const Phrase unreadable("読み込めません", "cannot be read");
  if (!reader.ok()) {
    problem = unreadable;
  } else if (reader.size() > maxBytes) {
    const std::string mebibytes = std::to_string(maxBytes >> 20);
    problem = Phrase(mebibytes + " MiBより大きいファイルです", "larger than " + mebibytes + " MiB");
  } else if (!reader.Read(static_cast<std::size_t>(reader.size()), bytes)) {
    problem = unreadable;
  }
  std::fclose(input.file);
  if (problem.empty()) text.assign(bytes.begin(), bytes.end());
  return problem;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  if (text.substr(0, kMark.size()) == kMark) text.remove_prefix(kMark.size());
  return text;
}

std::size_t FirstUnreadableLine(std::string_view text) {
  std::size_t number = 1;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!IsTilesetSafeName(line)) return number;
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
    ++number;
  }
  return 0;
}

Phrase UnreadableLineCause(std::size_t line) {
  const std::string number = std::to_string(line);
  return {number + "行目は、制御文字を含まないUTF-8のテキストではありません",
          "line " + number + " is not UTF-8 text without control characters"};
}

std::string UnreadableLineText(std::size_t line) { return UnreadableLineCause(line).english; }

}  // namespace korvanth
