// Whether a stream is a terminal, and quieting the image decoders' own diagnostics.
#include "cli/terminal.h"

#ifdef _WIN32
#include <io.h>
#else
#include <cstdlib>
#include <unistd.h>
#endif

namespace korvanth {

#ifdef _WIN32
bool IsTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }
void QuietDecoderDiagnostics() {}
#else
bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }
// Qt's image plugins log through the "qt.gui.imageio" category; a user's own rules win.
void QuietDecoderDiagnostics() { setenv("QT_LOGGING_RULES", "qt.gui.imageio=false", 0); }
#endif

}  // namespace korvanth
