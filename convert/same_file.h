// The rule that keeps a picture from being written over by its own conversion, shared
// by the window and the command-line converter: two names are one file when they lead
// to the same file on disk, however each is spelt.
#pragma once

#include <string>
#include <string_view>

namespace korvanth {

// Whether the UTF-8 names `a` and `b` lead to one existing file: relative or absolute,
// with "." and "..", through symbolic links, or as two hard links of it. False when
// either names no file, cannot be examined or is not valid UTF-8.
bool IsSameFile(std::string_view a, std::string_view b);

// The UTF-8 `name` made absolute against the current folder, so that it keeps naming the
// same file when the folder changes (Windows' file dialogs change it); unchanged when it
// cannot be (not valid UTF-8, no current folder).
std::string AbsoluteName(std::string_view name);

}  // namespace korvanth
