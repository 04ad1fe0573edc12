// Several files that appear together or not at all. Each is written whole beside its target
// (Begin, Write as often as needed, Finish: then it is on the disk) without touching the
// target, and only once every one is complete are they moved over their targets (Commit),
// each move replacing its target in one step. A staged file never committed is removed
// when it goes out of scope.
//
// Only a regular file is ever replaced: a target that is a folder, a FIFO, a device or a
// socket is refused, at Begin and again at Commit. A symbolic link to a regular file stays
// a link; the file it names is replaced.
//
// A kill leaves no temporary behind while the file is staged: on Linux it has no name
// until Commit (O_TMPFILE), on Windows its temporary is marked to be deleted when the
// process's handle closes (README.md says which instants remain). Where neither is
// possible its bytes wait in memory until Finish (or until there are too many), so a named
// temporary exists for as short a time as the data allows; the next save into the folder
// removes one a killed process left.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "imaging/gdiplus_api.h"
#include "imaging/save_file.h"

namespace korvanth {

class StagedFile {
 public:
  StagedFile() = default;
  StagedFile(StagedFile&& other) noexcept { Swap(other); }
  StagedFile& operator=(StagedFile&& other) noexcept {
    if (this != &other) {
      Discard();
      Swap(other);
    }
    return *this;
  }
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  ~StagedFile() { Discard(); }

  // Starts a new file for `path`, discarding one staged before; the target is untouched.
  SaveProblem Begin(const WCHAR* path);
  // Appends `bytes`. After a failure every later call answers the same problem.
  SaveProblem Write(std::span<const std::uint8_t> bytes);
  // Puts the whole file on the disk; then it is ready for Commit.
  SaveProblem Finish();
  // Begin, Write and Finish at once.
  SaveProblem Stage(const WCHAR* path, std::span<const std::uint8_t> bytes);
  // Moves the finished file over its target; on failure the staged file is removed.
  SaveProblem Commit();
  // Removes the staged file, if any.
  void Discard();

 private:
  enum class State { Empty, Writing, Finished, Failed };
#ifdef _WIN32
  using NativeString = std::wstring;
  using NativeFile = HANDLE;
  static NativeFile NoFile() { return INVALID_HANDLE_VALUE; }
#else
  using NativeString = std::string;
  using NativeFile = int;
  static NativeFile NoFile() { return -1; }
#endif

  void Swap(StagedFile& other) noexcept {
    std::swap(target_, other.target_);
    std::swap(temporary_, other.temporary_);
    std::swap(file_, other.file_);
#ifndef _WIN32
    std::swap(replaced_, other.replaced_);
#endif
    std::swap(held_, other.held_);
    std::swap(mode_, other.mode_);
    std::swap(vanishes_, other.vanishes_);
    std::swap(state_, other.state_);
    std::swap(problem_, other.problem_);
  }
  // Removes what was staged and answers `problem` from then on.
  SaveProblem Fail(SaveProblem problem);
  // The answer of a call made in the wrong state.
  SaveProblem Unusable() const;

  // Host parts (file_replace_*.cpp).
  // Settles the target and opens the file a kill removes, if the host and the file system
  // have one (file_ stays NoFile() otherwise).
  SaveProblem OpenBeside(const WCHAR* path);
  // Creates the named temporary that takes the place of such a file.
  SaveProblem OpenNamed();
  SaveProblem WriteOut(std::span<const std::uint8_t> bytes);
  // Flushes the file to the disk; a named temporary is closed as well.
  SaveProblem FlushOut();
  // Closes and removes what exists of the staged file.
  void Release();

  NativeString target_;     // the file to replace (a link's target, not the link)
  NativeString temporary_;  // the named temporary, while there is one
  NativeFile file_ = NoFile();
#ifndef _WIN32
  // The file Commit replaced, held open until this object goes, so that freeing its space
  // (milliseconds for a large one) falls after the commits of the files staged with it.
  NativeFile replaced_ = NoFile();
#endif
  std::vector<std::uint8_t> held_;  // bytes waiting for a named temporary
  int mode_ = -1;                   // the replaced file's permissions, or -1 (POSIX)
  bool vanishes_ = false;           // file_ is removed by the system when the process ends
  State state_ = State::Empty;
  SaveProblem problem_ = SaveProblem::None;
};

}  // namespace korvanth
