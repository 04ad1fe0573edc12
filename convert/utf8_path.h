// File names as the program receives them (UTF-8 bytes) and as the host's file functions
// take them (UTF-16). A name that is not valid UTF-8 is refused, never repaired: turning a
// stray byte into U+FFFD would name another file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/gdiplus_api.h"

namespace korvanth {

// Whether `text` is well-formed UTF-8 (no stray or overlong bytes, no encoded surrogates).
bool IsValidUtf8(std::string_view text);

// The name widened to zero-terminated UTF-16, however long; empty when `text` is not valid
// UTF-8 or holds a zero byte.
std::optional<std::vector<WCHAR>> WidenUtf8(std::string_view text);

// The name for messages, always on one line: valid UTF-8 stays as it is, except control
// characters (newline, escape, ...); those and every byte that is not UTF-8 are written as
// \xHH, byte by byte.
std::string PrintableName(std::string_view text);

}  // namespace korvanth
