// Reading a small text file, and writing one whole or not at all, on both hosts, the way sheets are
// written: the text goes to a temporary file beside the target, is flushed to the disk and
// then moved over the target, so a failure leaves neither a partial file nor a lost old one.
#pragma once

#include <string>
#include <string_view>

#include "imaging/save_file.h"

namespace korvanth {

// `path` is UTF-8. The outcome's problem names the cause (never EncoderFailed).
SaveOutcome WriteTextFileWhole(const std::string& path, std::string_view text);

// Reads the whole of a text file of at most `maxBytes` bytes at `path` (UTF-8) into `text`,
// through a bounded reader. Empty, or why it could not be read in a few English words.
std::string ReadSmallTextFile(const std::string& path, std::size_t maxBytes, std::string& text);

}  // namespace korvanth
