// A UTF-16 file name as the bytes the system calls take (UTF-8 here).
#pragma once

#include <string>

namespace korvanth::imaging {

// Empty for a null or empty name; a lone surrogate becomes U+FFFD.
std::string NativePath(const char16_t* path);

}  // namespace korvanth::imaging
