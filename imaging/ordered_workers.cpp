// Numbered items run on worker threads, their results taken up in order on the caller's.
#include "imaging/ordered_workers.h"

#include <algorithm>
#include <atomic>
#include <vector>

#ifdef _WIN32
// The toolchain's win32 thread model has no std::thread: the system's own threads,
// lock and condition variable.
#include <windows.h>
#else
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#endif

namespace korvanth {

namespace {

// Which items are done, and a wait for one of them.
class Completion {
 public:
  explicit Completion(int count) : done_(static_cast<size_t>(count), false) {
#ifdef _WIN32
    InitializeSRWLock(&lock_);
    InitializeConditionVariable(&changed_);
#endif
  }

  void MarkDone(int item) {
#ifdef _WIN32
    AcquireSRWLockExclusive(&lock_);
    done_[static_cast<size_t>(item)] = true;
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&changed_);
#else
    {
      std::lock_guard<std::mutex> lock(lock_);
      done_[static_cast<size_t>(item)] = true;
    }
    changed_.notify_all();
#endif
  }

  void WaitFor(int item) {
#ifdef _WIN32
    AcquireSRWLockExclusive(&lock_);
    while (!done_[static_cast<size_t>(item)])
      SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    ReleaseSRWLockExclusive(&lock_);
#else
    std::unique_lock<std::mutex> lock(lock_);
    changed_.wait(lock, [&] { return done_[static_cast<size_t>(item)]; });
#endif
  }

 private:
  std::vector<bool> done_;
#ifdef _WIN32
  SRWLOCK lock_;
  CONDITION_VARIABLE changed_;
#else
  std::mutex lock_;
  std::condition_variable changed_;
#endif
};

struct Shared {
  Shared(int count, const std::function<void(int)>& work)
      : count(count), work(work), completion(count) {}
  const int count;
  const std::function<void(int)>& work;
  std::atomic<int> next{0};
  Completion completion;
};

// Takes the next item not yet taken until none is left.
void WorkerLoop(Shared& shared) {
  for (int item = shared.next++; item < shared.count; item = shared.next++) {
    shared.work(item);
    shared.completion.MarkDone(item);
  }
}

#ifdef _WIN32
DWORD WINAPI WorkerEntry(LPVOID shared) {
  WorkerLoop(*static_cast<Shared*>(shared));
  return 0;
}
#endif

}  // namespace

int AvailableCores() {
#ifdef _WIN32
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return std::max(1, static_cast<int>(info.dwNumberOfProcessors));
#else
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
#endif
}

void RunInOrder(int count, int workers, const std::function<void(int)>& starting,
                const std::function<void(int)>& work, const std::function<void(int)>& finished) {
  workers = std::clamp(workers, 1, std::max(count, 1));
  if (workers == 1) {
    for (int item = 0; item < count; ++item) {
      starting(item);
      work(item);
      finished(item);
    }
    return;
  }
  Shared shared(count, work);
#ifdef _WIN32
  std::vector<HANDLE> threads;
  for (int i = 0; i < workers; ++i) {
    HANDLE thread = CreateThread(nullptr, 0, WorkerEntry, &shared, 0, nullptr);
    if (thread != nullptr) threads.push_back(thread);
  }
#else
  std::vector<std::thread> threads;
  try {
    for (int i = 0; i < workers; ++i) threads.emplace_back(WorkerLoop, std::ref(shared));
  } catch (const std::system_error&) {
    // Fewer threads than asked for: those that started share the work.
  }
#endif
  // Without any thread of its own the work is done here, as a serial run does it.
  if (threads.empty()) WorkerLoop(shared);
  for (int item = 0; item < count; ++item) {
    starting(item);
    shared.completion.WaitFor(item);
    finished(item);
  }
#ifdef _WIN32
  for (HANDLE thread : threads) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
#else
  for (std::thread& thread : threads) thread.join();
#endif
}

}  // namespace korvanth
