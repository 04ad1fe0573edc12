// The lock for a picture shared by conversions: SRWLOCK on Windows, std::mutex elsewhere.
#include "convert/picture_lock.h"

#ifdef _WIN32
// The toolchain's win32 thread model has no std::mutex: the system's own lock.
#include <windows.h>
#else
#include <mutex>
#endif

namespace korvanth {

#ifdef _WIN32
struct PictureLock::System {
  SRWLOCK lock = SRWLOCK_INIT;
};
void PictureLock::Acquire() { AcquireSRWLockExclusive(&system_->lock); }
void PictureLock::Release() { ReleaseSRWLockExclusive(&system_->lock); }
#else
struct PictureLock::System {
  std::mutex lock;
};
void PictureLock::Acquire() { system_->lock.lock(); }
void PictureLock::Release() { system_->lock.unlock(); }
#endif

PictureLock::PictureLock() : system_(std::make_unique<System>()) {}
PictureLock::~PictureLock() = default;

}  // namespace korvanth
