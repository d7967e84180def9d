// A progress bar on stderr for renders that take a noticeable time: it appears
// once a render has run for about a second, and only on a terminal.
#pragma once

#include <chrono>
#include <cstdio>

namespace render {

class ProgressMeter {
 public:
  ProgressMeter(long long totalFrames, std::FILE* terminal);
  // Clears the bar, so that an error message after an interrupted render
  // starts on a clean line.
  ~ProgressMeter() { finish(); }
  ProgressMeter(const ProgressMeter&) = delete;
  ProgressMeter& operator=(const ProgressMeter&) = delete;

  void update(long long framesDone);
  // Removes the bar, leaving the line free for what follows.
  void finish();

 private:
  using Clock = std::chrono::steady_clock;

  long long totalFrames;
  std::FILE* terminal;  // null when the bar is never shown
  Clock::time_point started = Clock::now();
  Clock::time_point lastDrawn;
  bool shown = false;
};

}  // namespace render
