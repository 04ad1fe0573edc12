// Running a program in a child process of its own, for what QProcess cannot tell: its peak
// resident size (the child's getrusage) and its wall time.
#pragma once

#include <string>
#include <vector>

struct ChildRun {
  int exitCode = -1;  // -1 when it did not start or did not exit by itself
  std::string err;
  long peakKiB = 0;  // ru_maxrss
  double seconds = 0;
};

// Under AddressSanitizer a resident size means nothing: its shadow memory counts too.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMemoryMeasurable = false;
#else
inline constexpr bool kMemoryMeasurable = true;
#endif

// Runs words[0] with the other words as its arguments, standard input and output on
// /dev/null, and waits for it.
ChildRun RunChildProgram(std::vector<std::string> words);

#ifdef KORVANTH_CONVERT_EXE
// The converter this build made; `prefix` goes before it (to run it as another user).
inline ChildRun RunChild(const std::vector<std::string>& arguments,
                         const std::vector<std::string>& prefix = {}) {
  std::vector<std::string> words = prefix;
  words.push_back(KORVANTH_CONVERT_EXE);
  words.insert(words.end(), arguments.begin(), arguments.end());
  return RunChildProgram(std::move(words));
}
#endif
