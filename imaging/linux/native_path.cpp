// A UTF-16 file name narrowed to the UTF-8 bytes the POSIX calls take.
#include "imaging/linux/native_path.h"

#include "api/linux/win_base.h"

namespace korvanth::imaging {

std::string NativePath(const char16_t* path) {
  if (path == nullptr || *path == 0) return {};
  const int needed = WideCharToMultiByte(CP_UTF8, 0, path, -1, nullptr, 0, nullptr, nullptr);
  if (needed <= 1) return {};
  std::string native(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(CP_UTF8, 0, path, -1, native.data(), needed, nullptr, nullptr);
  native.pop_back();  // the terminating zero
  return native;
}

}  // namespace korvanth::imaging
