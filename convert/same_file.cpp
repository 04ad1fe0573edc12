#include "convert/same_file.h"

#include <filesystem>
#include <system_error>

#include "convert/utf8_path.h"

namespace korvanth {

namespace fs = std::filesystem;

namespace {

// Only valid UTF-8 reaches fs::path: Windows' conversion to UTF-16 throws on anything else.
fs::path PathOf(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

}  // namespace

bool IsSameFile(std::string_view a, std::string_view b) {
  if (a.empty() || b.empty() || !IsValidUtf8(a) || !IsValidUtf8(b)) return false;
  std::error_code ec;
  return fs::equivalent(PathOf(a), PathOf(b), ec) && !ec;
}

std::string AbsoluteName(std::string_view name) {
  if (name.empty() || !IsValidUtf8(name)) return std::string(name);
  std::error_code ec;
  const fs::path absolute = fs::absolute(PathOf(name), ec);
  if (ec) return std::string(name);
  const std::u8string text = absolute.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace korvanth
