// The host-independent part of a staged file: the order of its steps, and the bytes held in
// memory while the host has no file that a kill removes.
#include "imaging/staged_file.h"

#include <new>

namespace korvanth {

namespace {

// Held in memory at most; beyond this a named temporary takes the bytes as they come, so a
// streamed file of any size needs no more.
constexpr std::size_t kHeldBytes = std::size_t{4} << 20;

}  // namespace

SaveProblem StagedFile::Begin(const WCHAR* path) {
  Discard();
  if (path == nullptr || *path == 0) return Fail(SaveProblem::FolderMissing);
  const SaveProblem opened = OpenBeside(path);
  if (opened != SaveProblem::None) return Fail(opened);
  state_ = State::Writing;
  return SaveProblem::None;
}

SaveProblem StagedFile::Write(std::span<const std::uint8_t> bytes) {
  if (state_ != State::Writing) return Unusable();
  if (file_ == NoFile()) {
    if (bytes.size() <= kHeldBytes - held_.size()) {
      try {
        held_.insert(held_.end(), bytes.begin(), bytes.end());
        return SaveProblem::None;
      } catch (const std::bad_alloc&) {
        // Straight to the disk instead.
      }
    }
    if (const SaveProblem named = OpenNamed(); named != SaveProblem::None) return Fail(named);
  }
  if (!held_.empty()) {
    if (const SaveProblem written = WriteOut(held_); written != SaveProblem::None)
      return Fail(written);
    std::vector<std::uint8_t>().swap(held_);
  }
  if (const SaveProblem written = WriteOut(bytes); written != SaveProblem::None)
    return Fail(written);
  return SaveProblem::None;
}

SaveProblem StagedFile::Finish() {
  if (state_ != State::Writing) return Unusable();
  if (file_ == NoFile()) {
    if (const SaveProblem named = OpenNamed(); named != SaveProblem::None) return Fail(named);
  }
  if (!held_.empty()) {
    if (const SaveProblem written = WriteOut(held_); written != SaveProblem::None)
      return Fail(written);
    std::vector<std::uint8_t>().swap(held_);
  }
  if (const SaveProblem flushed = FlushOut(); flushed != SaveProblem::None) return Fail(flushed);
  state_ = State::Finished;
  return SaveProblem::None;
}

SaveProblem StagedFile::Stage(const WCHAR* path, std::span<const std::uint8_t> bytes) {
  if (const SaveProblem begun = Begin(path); begun != SaveProblem::None) return begun;
  if (const SaveProblem written = Write(bytes); written != SaveProblem::None) return written;
  return Finish();
}

void StagedFile::Discard() {
  Release();
  std::vector<std::uint8_t>().swap(held_);
  state_ = State::Empty;
  problem_ = SaveProblem::None;
}

SaveProblem StagedFile::Fail(SaveProblem problem) {
  Release();
  std::vector<std::uint8_t>().swap(held_);
  state_ = State::Failed;
  problem_ = problem == SaveProblem::None ? SaveProblem::Other : problem;
  return problem_;
}

SaveProblem StagedFile::Unusable() const {
  return state_ == State::Failed ? problem_ : SaveProblem::Other;
}

// A file staged alone and committed at once.
SaveProblem ReplaceFileWith(const WCHAR* path, std::span<const std::uint8_t> bytes) {
  StagedFile file;
  const SaveProblem staged = file.Stage(path, bytes);
  return staged != SaveProblem::None ? staged : file.Commit();
}

}  // namespace korvanth
