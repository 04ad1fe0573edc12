// Several files that appear together or not at all: each is written whole under a
// temporary name beside its target and flushed to the disk (Stage), and only once every one
// is complete are they moved over their targets (Commit), each move replacing its target in
// one step. A staged file never committed is removed when it goes out of scope.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "imaging/gdiplus_api.h"
#include "imaging/save_file.h"

namespace korvanth {

class StagedFile {
 public:
  StagedFile() = default;
  StagedFile(StagedFile&& other) noexcept
      : target_(std::move(other.target_)), temporary_(std::move(other.temporary_)) {
    other.temporary_.clear();
  }
  StagedFile& operator=(StagedFile&& other) noexcept {
    if (this != &other) {
      Discard();
      target_ = std::move(other.target_);
      temporary_ = std::move(other.temporary_);
      other.temporary_.clear();
    }
    return *this;
  }
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  ~StagedFile() { Discard(); }

  // Writes `bytes` under a temporary name in the folder of `path`; the target is untouched.
  SaveProblem Stage(const WCHAR* path, const std::vector<std::uint8_t>& bytes);
  // Moves the staged file over its target; on failure the temporary is removed.
  SaveProblem Commit();
  // Removes the staged file, if any.
  void Discard();

 private:
#ifdef _WIN32
  std::wstring target_, temporary_;
#else
  std::string target_, temporary_;
#endif
};

}  // namespace korvanth
