// Finding the sample picture the packages carry: beside the program, else in share/korvanth/.
#include "app/bundled_sample.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "convert/utf8_path.h"
#include "platform/win32_api.h"

namespace korvanth {

namespace {}  // namespace

std::string FindBundledSample(std::string_view programPath) {
  if (programPath.empty()) return {};
  const std::filesystem::path folder = PathFromUtf8(programPath).parent_path();
  for (const std::filesystem::path& candidate :
       {folder / kBundledSampleName,
        (folder / ".." / "share" / "korvanth" / kBundledSampleName).lexically_normal()}) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return Utf8FromPath(candidate);
  }
  return {};
}

std::string ProgramPath() {
  // The host cuts a name that does not fit and then fills the whole buffer.
  for (DWORD size = 260; size <= 65536; size *= 2) {
    std::vector<char> name(size, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, name.data(), size);
    if (length == 0) return {};
    if (length < size) return std::string(name.data(), length);
  }
  return {};
}

}  // namespace korvanth
