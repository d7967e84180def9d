#include "tools/render/progress_meter.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/render/interruption.h"

namespace render {
namespace {

constexpr auto kQuietStart = std::chrono::seconds(1);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kWidestBar = 40;
constexpr int kNarrowestBar = 10;
constexpr int kDefaultColumns = 80;
// "[" and "] " around the bar, and "100%" after it.
constexpr int kBarFrame = 3;
constexpr int kPercentWidth = 4;

int columnsFromEnvironment() {
  const char* text = std::getenv("COLUMNS");
  if (text == nullptr) {
    return 0;
  }
  int columns = 0;
  const char* end = text + std::strlen(text);
  const auto [at, error] = std::from_chars(text, end, columns);
  return error == std::errc() && at == end && columns > 0 ? columns : 0;
}

}  // namespace

std::string progressLine(double fraction, int columns) {
  const int room = columns - 1;
  char percentText[kPercentWidth + 1];
  std::snprintf(percentText, sizeof(percentText), "%3d%%", static_cast<int>(fraction * 100.0));
  const int barWidth = std::min(kWidestBar, room - kBarFrame - kPercentWidth);
  if (barWidth < kNarrowestBar) {
    return room >= kPercentWidth ? std::string(percentText) : std::string();
  }
  const int filled = static_cast<int>(fraction * barWidth);
  return '[' + std::string(filled, '#') + std::string(barWidth - filled, '-') + "] " + percentText;
}

int terminalColumns(std::FILE* stream) {
  winsize size{};
  if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
    return size.ws_col;
  }
  const int fromEnvironment = columnsFromEnvironment();
  return fromEnvironment > 0 ? fromEnvironment : kDefaultColumns;
}

ProgressMeter::ProgressMeter(long long total, std::FILE* stream)
    : totalFrames(total),
      terminal(stream != nullptr && total > 0 && isatty(fileno(stream)) ? stream : nullptr) {}

void ProgressMeter::update(long long framesDone) {
  if (terminal == nullptr) {
    return;
  }
  const auto now = Clock::now();
  if (now - started < kQuietStart || (drawnLength > 0 && now - lastDrawn < kRedrawInterval)) {
    return;
  }
  const double fraction = std::min(1.0, static_cast<double>(framesDone) / totalFrames);
  // Asked at every redraw, so the bar follows a resized window.
  const int columns = terminalColumns(terminal);
  const std::string line = progressLine(fraction, columns);
  if (line.empty()) {
    return;
  }
  // Spaces wipe what a longer bar left, up to the edge of the window.
  const int wipe =
      std::min(static_cast<int>(drawnLength), columns - 1) - static_cast<int>(line.size());
  std::fprintf(terminal, "\r%s%*s", line.c_str(), std::max(wipe, 0), "");
  std::fflush(terminal);
  endLineOnInterruption(fileno(terminal));
  lastDrawn = now;
  drawnLength = line.size() + std::max(wipe, 0);
}

void ProgressMeter::finish() {
  if (drawnLength > 0) {
    endLineOnInterruption(-1);
    const int clear = std::min(static_cast<int>(drawnLength), terminalColumns(terminal) - 1);
    std::fprintf(terminal, "\r%*s\r", clear, "");
    std::fflush(terminal);
    drawnLength = 0;
  }
}

}  // namespace render
