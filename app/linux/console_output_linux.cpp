// Off Windows the program always has its starter's stdout and stderr.
#include <cstdio>

#include "app/command_line.h"

namespace korvanth {

void PrintAnswer(const CommandLineAnswer& answer) {
  std::fputs(answer.out.c_str(), stdout);
  std::fputs(answer.err.c_str(), stderr);
  std::fflush(stdout);
}

}  // namespace korvanth
