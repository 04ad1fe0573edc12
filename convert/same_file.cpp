// Whether two names lead to one file, so that no output is written over a file that is read.
#include "convert/same_file.h"

#include <filesystem>
#include <system_error>

#include "convert/utf8_path.h"

namespace korvanth {

namespace fs = std::filesystem;

bool IsSameFile(std::string_view a, std::string_view b) {
  if (a.empty() || b.empty() || !IsValidUtf8(a) || !IsValidUtf8(b)) return false;
  std::error_code ec;
  return fs::equivalent(PathFromUtf8(a), PathFromUtf8(b), ec) && !ec;
}

const ReadFile* ReadFileAt(const std::vector<ReadFile>& files, std::string_view path) {
  for (const ReadFile& file : files)
    if (IsSameFile(file.path, path)) return &file;
  return nullptr;
}

Phrase ReadFileRefusal(const ReadFile& file) {
  return {std::string(file.what.japanese) + "です。上書きはしません",
          "it is " + std::string(file.what.english) + "; it is never written over"};
}

std::string AbsoluteName(std::string_view name) {
  if (name.empty() || !IsValidUtf8(name)) return std::string(name);
  std::error_code ec;
  const fs::path absolute = fs::absolute(PathFromUtf8(name), ec);
  if (ec) return std::string(name);
  return Utf8FromPath(absolute);
}

}  // namespace korvanth
