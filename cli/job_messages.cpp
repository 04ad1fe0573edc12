// The converter's lines that every kind of run says alike: the program's name, the fallback.
#include "cli/job_messages.h"

#include "convert/export_sheet.h"
#include "convert/utf8_path.h"

namespace korvanth {

std::string FallbackWarningLine(const std::string& output) {
  return std::string(kProgram) + ": warning: " + PrintableName(output) +
         ": the extension selects no file type; BMP content is written under this name (" +
         kBitmapFallbackWarning + ")\n";
}

std::string InputPictureLine(const std::string& path) {
  return std::string(kProgram) + ": " + PrintableName(path) +
         ": is the input picture; it is never written over\n";
}

}  // namespace korvanth
