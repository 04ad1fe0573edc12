// A temporary stream for messages printed later; on Windows in the user's temp folder.
#include "cli/scratch_stream.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace korvanth {

#ifdef _WIN32
// The C runtime's tmpfile() makes its file in the root of the drive, where users may not
// write; this one goes into the user's temporary folder and is removed when closed ("D").
std::FILE* OpenScratchStream() {
  WCHAR folder[MAX_PATH + 1];
  WCHAR name[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"kvc", 0, name) == 0)
    return nullptr;
  std::FILE* stream = _wfopen(name, L"w+bTD");
  if (stream == nullptr) DeleteFileW(name);
  return stream;
}
#else
std::FILE* OpenScratchStream() { return std::tmpfile(); }
#endif

}  // namespace korvanth
