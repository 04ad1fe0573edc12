// Running a program from a test: its exit code and what it printed.
#pragma once

#include <string>
#include <vector>

struct ProgramRun {
  int exitCode = -1;  // -1 when it did not start, crashed or timed out
  std::string out;
  std::string err;
};

// Runs `program` with `arguments` (offscreen, so that Qt programs need no display) and
// waits up to a minute for it.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments);

#ifdef KORVANTH_CONVERT_EXE
// The converter this build made.
inline ProgramRun RunConverter(const std::vector<std::string>& arguments) {
  return RunProgram(KORVANTH_CONVERT_EXE, arguments);
}
#endif
