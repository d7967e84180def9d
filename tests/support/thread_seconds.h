// Processor time the calling thread has used, in seconds: what a measurement
// costs, without the time other programs on a busy machine take.
#pragma once

#include <time.h>

inline double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}
