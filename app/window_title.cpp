// The window title: the picture's file name before the program's name.
#include "app/window_title.h"

#include <cstring>

namespace korvanth {

std::string WindowTitle(const char* path) {
  if (path == nullptr || *path == '\0') return kProgramName;
  const char* name = path;
  for (const char* at = path; *at != '\0'; ++at)
    if (*at == '/' || *at == '\\') name = at + 1;
  if (*name == '\0') return kProgramName;
  return std::string(name) + " - " + kProgramName;
}

}  // namespace korvanth
