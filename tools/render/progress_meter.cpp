#include "tools/render/progress_meter.h"

#include <unistd.h>

#include <algorithm>
#include <string>

namespace render {
namespace {

constexpr auto kQuietStart = std::chrono::seconds(1);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kBarWidth = 40;

}  // namespace

ProgressMeter::ProgressMeter(long long total, std::FILE* stream)
    : totalFrames(total),
      terminal(stream != nullptr && total > 0 && isatty(fileno(stream)) ? stream : nullptr) {}

void ProgressMeter::update(long long framesDone) {
  if (terminal == nullptr) {
    return;
  }
  const auto now = Clock::now();
  if (now - started < kQuietStart || (shown && now - lastDrawn < kRedrawInterval)) {
    return;
  }
  const double fraction = std::min(1.0, static_cast<double>(framesDone) / totalFrames);
  const int filled = static_cast<int>(fraction * kBarWidth);
  const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '-');
  std::fprintf(terminal, "\r[%s] %3d%%", bar.c_str(), static_cast<int>(fraction * 100.0));
  std::fflush(terminal);
  lastDrawn = now;
  shown = true;
}

void ProgressMeter::finish() {
  if (shown) {
    std::fprintf(terminal, "\r%*s\r", kBarWidth + 8, "");
    std::fflush(terminal);
    shown = false;
  }
}

}  // namespace render
