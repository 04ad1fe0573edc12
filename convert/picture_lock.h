// A lock for a picture that several conversions read at once: a GDI+ image takes one user
// at a time, and building a sheet also sets the picture's resolution.
#pragma once

#include <memory>

namespace korvanth {

class PictureLock {
 public:
  PictureLock();
  ~PictureLock();
  PictureLock(const PictureLock&) = delete;
  PictureLock& operator=(const PictureLock&) = delete;

  void Acquire();
  void Release();

 private:
  struct System;
  std::unique_ptr<System> system_;
};

// Holds `lock` (may be null: nothing to hold) for its own lifetime.
class PictureLockHold {
 public:
  explicit PictureLockHold(PictureLock* lock) : lock_(lock) {
    if (lock_ != nullptr) lock_->Acquire();
  }
  ~PictureLockHold() {
    if (lock_ != nullptr) lock_->Release();
  }
  PictureLockHold(const PictureLockHold&) = delete;
  PictureLockHold& operator=(const PictureLockHold&) = delete;

 private:
  PictureLock* lock_;
};

}  // namespace korvanth
