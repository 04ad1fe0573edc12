// A fuzz input as the loaders see it: a real file, since the decoders read through stdio
// and libtiff dup()s the descriptor (a memory stream would not do). The bytes live in an
// anonymous memory file, so nothing is left on disk when a run dies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "imaging/picture_header.h"

namespace korvanth::fuzz {

class InputFile {
 public:
  InputFile(const std::uint8_t* data, std::size_t size);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Null when the system gave no memory file; otherwise positioned at the start.
  std::FILE* file() const { return file_; }
  // A name that opens the same bytes again.
  std::string path() const;

 private:
  std::FILE* file_ = nullptr;
};

// The header of the input, read as the loader reads it; the file is rewound after it.
imaging::PictureHeader ReadHeader(std::FILE* file);

// False for a picture whose header admits it but whose size would make each run slow
// (pictures up to the memory bound take seconds to fill under the sanitizers); the
// bound itself is the header reader's to test, not the decoders'.
bool WithinFuzzBudget(const imaging::PictureHeader& header);

}  // namespace korvanth::fuzz
