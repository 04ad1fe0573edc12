// Reading a small text file, and writing one whole or not at all, on both hosts, the way sheets are
// written: the text goes to a temporary file beside the target, is flushed to the disk and
// then moved over the target, so a failure leaves neither a partial file nor a lost old one.
#pragma once

#include <string>
#include <string_view>

#include "imaging/save_file.h"
#include "imaging/ui_language.h"

namespace korvanth {

// `path` is UTF-8. The outcome's problem names the cause (never EncoderFailed).
SaveOutcome WriteTextFileWhole(const std::string& path, std::string_view text);

// Reads the whole of a text file of at most `maxBytes` bytes at `path` (UTF-8) into `text`,
// through a bounded reader; only a regular file is read (see imaging/input_file.h). Empty,
// or why it could not be read in a few words of both languages ("is not a regular file").
Phrase ReadSmallTextFile(const std::string& path, std::size_t maxBytes, std::string& text);

// `text` without the UTF-8 byte-order mark that some editors put at a text file's start.
std::string_view WithoutByteOrderMark(std::string_view text);

// The rule for the lines of a text input (names, settings): each is UTF-8 without control
// characters (NUL, tab, escape, ...); '\n' or "\r\n" ends one. The first line that breaks
// it, counted from 1, or 0 when none does.
std::size_t FirstUnreadableLine(std::string_view text);
// "line N is not UTF-8 text without control characters", in both languages;
// UnreadableLineText is its English.
Phrase UnreadableLineCause(std::size_t line);
std::string UnreadableLineText(std::size_t line);

}  // namespace korvanth
