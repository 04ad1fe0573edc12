#include "convert/text_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "convert/utf8_path.h"
#include "imaging/byte_reader.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

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

std::FILE* OpenForReading(const std::string& path) {
#ifdef _WIN32
  const std::optional<std::vector<WCHAR>> wide = WidenUtf8(path);
  return wide ? ::_wfopen(reinterpret_cast<const wchar_t*>(wide->data()), L"rb") : nullptr;
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

// A folder opens for reading on Linux (and then has no sensible size) and is refused as a
// denied access on Windows: either way it is named for what it is.
bool IsFolder(const std::string& path, std::FILE* opened) {
#ifdef _WIN32
  (void)opened;
  const std::optional<std::vector<WCHAR>> wide = WidenUtf8(path);
  if (!wide) return false;
  const DWORD attributes = GetFileAttributesW(wide->data());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
#else
  (void)path;
  struct stat status {};
  return opened != nullptr && ::fstat(::fileno(opened), &status) == 0 && S_ISDIR(status.st_mode);
#endif
}

}  // namespace

std::string ReadSmallTextFile(const std::string& path, std::size_t maxBytes, std::string& text) {
  text.clear();
  std::FILE* file = OpenForReading(path);
  if (IsFolder(path, file)) {
    if (file != nullptr) std::fclose(file);
    return "is a folder";
  }
  if (file == nullptr) {
    if (errno == ENOENT) return "no such file";
    if (errno == EACCES) return "permission denied";
    return "cannot be opened";
  }
  imaging::FileReader reader(file);
  std::vector<std::uint8_t> bytes;
  std::string problem;
  if (!reader.ok())
    problem = "cannot be read";
  else if (reader.size() > maxBytes)
    problem = "larger than " + std::to_string(maxBytes >> 20) + " MiB";
  else if (!reader.Read(static_cast<std::size_t>(reader.size()), bytes))
    problem = "cannot be read";
  std::fclose(file);
  if (problem.empty()) text.assign(bytes.begin(), bytes.end());
  return problem;
}

}  // namespace korvanth
