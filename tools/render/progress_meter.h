// A progress bar on stderr for renders that take a noticeable time: it appears
// once a render has run for about a second, and only on a terminal. It fits
// the terminal's width, and an interrupted render ends its line.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace render {

// The bar and percentage for `fraction` done, fitted into a terminal `columns`
// wide with the last column left free, so the line never wraps. Narrow
// terminals get a shorter bar, very narrow ones the percentage alone.
std::string progressLine(double fraction, int columns);

// The width of the terminal on `stream`: as the terminal reports it, else
// $COLUMNS, else 80.
int terminalColumns(std::FILE* stream);

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
  std::size_t drawnLength = 0;  // 0 while no bar is on the screen
};

}  // namespace render
