// A save's new file has a temporary name beside its target, PREFIX-PID-N.tmp, for the
// instant before it is moved over the target, and longer where the host can neither keep
// it nameless nor have it deleted should the process end (staged_file.h). A save killed
// while the name exists leaves the file behind; a later save into the folder removes such
// files once their process is gone, and never touches any other file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvanth {

#ifdef _WIN32
inline constexpr std::string_view kTemporaryPrefix = "~korvanth-";
using NativeFolder = std::wstring;
#else
inline constexpr std::string_view kTemporaryPrefix = ".korvanth-";
using NativeFolder = std::string;
#endif

// The process id in a temporary's leaf name (kTemporaryPrefix, then decimal PID, '-',
// decimal N, ".tmp"), or nothing for any other name.
template <typename Char>
std::optional<std::uint32_t> TemporaryOwner(std::basic_string_view<Char> leaf) {
  std::size_t at = 0;
  const auto take = [&](std::string_view expected) {
    for (const char c : expected) {
      if (at >= leaf.size() || leaf[at] != static_cast<Char>(c)) return false;
      ++at;
    }
    return true;
  };
  const auto number = [&](std::uint64_t& value) {
    const std::size_t start = at;
    value = 0;
    for (; at < leaf.size() && leaf[at] >= Char('0') && leaf[at] <= Char('9'); ++at) {
      value = value * 10 + static_cast<std::uint64_t>(leaf[at] - Char('0'));
      if (value > 0xFFFFFFFFu) return false;
    }
    return at > start;
  };
  std::uint64_t pid = 0;
  std::uint64_t serial = 0;
  if (!take(kTemporaryPrefix) || !number(pid) || !take("-") || !number(serial) || !take(".tmp") ||
      at != leaf.size())
    return std::nullopt;
  return static_cast<std::uint32_t>(pid);
}

// Removes the temporaries in `folder` (with its trailing separator; empty for the current
// folder) whose process has ended. Each folder is looked through once a process: a
// process's own saves never leave one behind while it runs.
void RemoveStaleTemporaries(const NativeFolder& folder);

}  // namespace korvanth
