// Opening a file the program reads (a picture, a names file, the settings): a regular
// file only. A FIFO, a device, a socket or a folder is refused by what it is, and the
// opening itself never waits: a FIFO with no writer cannot hang the program, and a device
// such as /dev/zero cannot feed it endless bytes.
#pragma once

#include <cstdio>

#include "imaging/ui_language.h"

namespace korvanth::imaging {

enum class InputProblem {
  None,
  Missing,           // no such file (or a part of its folder is missing)
  PermissionDenied,  // it exists and may not be read
  IsFolder,
  NotRegular,  // a FIFO, a device, a socket: something that is not a file of bytes
  Other,
};

struct OpenedInput {
  std::FILE* file = nullptr;  // open for reading in binary mode when problem is None
  InputProblem problem = InputProblem::Other;
  int error = 0;  // the C library's errno behind Missing, PermissionDenied or Other
};

// Opens `native` (the host's narrow encoding) for reading. The caller closes the file.
OpenedInput OpenInputFile(const char* native);
#ifdef _WIN32
// Windows opens UTF-16 names (its narrow functions stop at 260 bytes).
OpenedInput OpenInputFile(const wchar_t* name);
#endif

// The problem in a few words of both languages; empty for None. InputProblemText is its
// English ("is not a regular file", ...).
UiText InputProblemCause(InputProblem problem);
const char* InputProblemText(InputProblem problem);

}  // namespace korvanth::imaging
