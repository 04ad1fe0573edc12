// File names as the program receives them (UTF-8 bytes) and as the host's file functions
// take them (UTF-16). A name that is not valid UTF-8 is refused, never repaired: turning a
// stray byte into U+FFFD would name another file.
#pragma once

#include <filesystem>
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

// The file-system path a UTF-8 name stands for, and back (through char8_t, so that Windows
// widens and narrows it as UTF-8 whatever the code page). Only valid UTF-8 goes in: Windows'
// conversion to UTF-16 throws on anything else.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

// The name's last part without its extension ("tiles" for "/a/tiles.png"), as sheets and
// blocks are named after their picture.
std::string Utf8Stem(std::string_view name);

// The name for messages, always on one line: valid UTF-8 stays as it is, except control
// characters (newline, escape, ...); those and every byte that is not UTF-8 are written as
// \xHH, byte by byte.
std::string PrintableName(std::string_view text);

}  // namespace korvanth
