// Writing a small text file whole or not at all, on both hosts, the way sheets are
// written: the text goes to a temporary file beside the target, is flushed to the disk and
// then moved over the target, so a failure leaves neither a partial file nor a lost old one.
#pragma once

#include <string>
#include <string_view>

#include "imaging/save_file.h"

namespace korvanth {

// `path` is UTF-8. The outcome's problem names the cause (never EncoderFailed).
SaveOutcome WriteTextFileWhole(const std::string& path, std::string_view text);

}  // namespace korvanth
