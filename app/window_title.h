// The main window's title: the loaded picture's file name before the program's name.
#pragma once

#include <string>

namespace korvanth {

inline constexpr char kProgramName[] = "Korvanth";

// "name - Korvanth" for a picture at `path` (the part after the last '/' or '\'), or
// "Korvanth" with no picture (null or empty path).
std::string WindowTitle(const char* path);

}  // namespace korvanth
