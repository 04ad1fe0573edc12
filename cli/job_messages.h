// The converter's message lines that more than one of its jobs prints, said once.
#pragma once

#include <string>

namespace korvanth {

// Every message line starts with the program's name.
inline constexpr char kProgram[] = "korvanth-convert";

// The unknown-extension warning: what happens, in English, with the window's own text.
std::string FallbackWarningLine(const std::string& output);

// An output (sheet, tileset or atlas file) that leads to the input picture.
std::string InputPictureLine(const std::string& path);

}  // namespace korvanth
