// The sample picture the packages carry, which the window opens when it starts without
// one: beside the program in the Windows zip, in share/korvanth/ next to bin/ on Linux.
#pragma once

#include <string>
#include <string_view>

namespace korvanth {

inline constexpr char kBundledSampleName[] = "sample-tiles.png";

// The sample's path (UTF-8) for the program whose file is `programPath`: beside the
// program, else in ../share/korvanth/ from the program's folder (an install's or a build
// tree's). Empty when neither holds it as a file.
std::string FindBundledSample(std::string_view programPath);

// The running program's file as the host names it (UTF-8); empty when it does not say.
std::string ProgramPath();

}  // namespace korvanth
