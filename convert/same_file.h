// The rule that keeps a picture from being written over by its own conversion, shared
// by the window and the command-line converter: two names are one file when they lead
// to the same file on disk, however each is spelt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "imaging/ui_language.h"

namespace korvanth {

// Whether the UTF-8 names `a` and `b` lead to one existing file: relative or absolute,
// with "." and "..", through symbolic links, or as two hard links of it. False when
// either names no file, cannot be examined or is not valid UTF-8.
bool IsSameFile(std::string_view a, std::string_view b);

// A file a run reads besides its picture (the names file, the window's settings) and what it
// is to the user ("the names file"), so that no output is written over it.
struct ReadFile {
  std::string path;  // UTF-8
  UiText what;
};

// The first of `files` that `path` leads to (IsSameFile), or null.
const ReadFile* ReadFileAt(const std::vector<ReadFile>& files, std::string_view path);

// Why an output is not written over the read file `file`: "it is WHAT; it is never written
// over".
Phrase ReadFileRefusal(const ReadFile& file);

// The UTF-8 `name` made absolute against the current folder, so that it keeps naming the
// same file when the folder changes (Windows' file dialogs change it); unchanged when it
// cannot be (not valid UTF-8, no current folder).
std::string AbsoluteName(std::string_view name);

}  // namespace korvanth
