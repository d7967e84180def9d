#include "core/circuit/audio_taper.h"

namespace murkfell {

double audioTaper(double x) {
  constexpr double cubic = 1.0868f, square = 0.5092f, linear = 0.4224f;
  return cubic * x * x * x - square * x * x + linear * x;
}

double clampedKnob(float knob) {
  if (!(knob > 0.0f)) return 0.0;  // also catches NaN
  if (knob > 1.0f) return 1.0;
  return knob;
}

float levelGainFor(float level) { return static_cast<float>(audioTaper(clampedKnob(level))); }

}  // namespace murkfell
