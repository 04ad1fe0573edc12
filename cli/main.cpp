// korvanth-convert: the window's conversion from the command line, also in batches.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/atlas_conversion.h"
#include "cli/convert_jobs.h"
#include "cli/options.h"
#include "cli/terminal.h"
#include "cli/watch_loop.h"
#include "cli/watch_plan.h"
#include "convert/export_sheet.h"
#include "convert/utf8_path.h"
#include "korvanth_version.h"

using namespace korvanth;

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  const ParseResult parsed = ParseArguments(arguments);
  if (!parsed.options) {
    // The error may quote an argument: shown on one line, control characters escaped.
    std::fprintf(stderr, "korvanth-convert: %s\nTry 'korvanth-convert --help'.\n",
                 PrintableName(parsed.error).c_str());
    return kExitUsage;
  }
  const ConvertOptions& options = *parsed.options;
  switch (options.mode) {
    case ConvertOptions::Mode::Help:
      std::fputs(UsageText().c_str(), stdout);
      return kExitOk;
    case ConvertOptions::Mode::Version:
      std::printf("korvanth-convert %s\n", KORVANTH_VERSION);
      return kExitOk;
    case ConvertOptions::Mode::Batch:
    case ConvertOptions::Mode::Single:
      break;
  }

  QuietDecoderDiagnostics();
  GdiplusStartupInput startupInput;
  ULONG_PTR token = 0;
  GdiplusStartup(&token, &startupInput, nullptr);
  const Conversion convert = [&](std::FILE* err) {
    return options.mode != ConvertOptions::Mode::Batch ? RunSingleConversion(options, err)
           : options.atlas                             ? RunAtlasConversion(options, err)
                                                       : RunBatchConversion(options, err);
  };
  const int status =
      options.watch ? RunWatching(WatchPlanFor(options), convert, stderr) : convert(stderr);
  GdiplusShutdown(token);
  return status;
}
