// Work on numbered items spread over threads, with the results taken up in item order on
// the calling thread (so that messages come out as a serial run prints them).
#pragma once

#include <functional>

namespace korvanth {

// The number of threads the system can run at once, at least 1.
int AvailableCores();

// Runs work(i) for every i in [0, count) on `workers` threads and, on the calling thread
// and in order of i, calls starting(i) before item i is taken up and finished(i) once
// work(i) has returned. With one worker everything runs on the calling thread, one item
// after another. `work` must be safe to call from several threads at once.
void RunInOrder(int count, int workers, const std::function<void(int)>& starting,
                const std::function<void(int)>& work, const std::function<void(int)>& finished);

}  // namespace korvanth
