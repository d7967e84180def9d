// Component values of the two knob-controlled networks, shared by their
// coefficient designs and their capacitor models. Values are single-precision
// constants used widened to double.
#pragma once

#include "core/circuit/audio_taper.h"

namespace murkfell {

// Gain-controlled inverting amplifier: input branch 2.2 kΩ + (56 kΩ ∥ 470 nF);
// feedback Rg ∥ 470 pF ∥ (100 Ω + 121.6 pF).
namespace gain_network {
inline constexpr double seriesR = 2200.0f, shuntR = 56000.0f, shuntC = 470e-9f;
inline constexpr double feedbackC = 470e-12f;
inline constexpr double compensationR = 100.0f, compensationC = 121.6e-12f;

// Rg: a 50 kΩ audio-taper pot in series with 1.2 kΩ.
inline double feedbackR(float gain) { return 1200.0f + 50000.0f * audioTaper(clampedKnob(gain)); }
}  // namespace gain_network

// Passive tone stack: slope resistor to node A, treble capacitor to T, bass
// and middle capacitors from A, a 50 kΩ treble pot (wiper = output), a 200 kΩ
// audio-taper bass pot and a 5 kΩ middle pot, loaded by 100 kΩ.
namespace tone_stack {
inline constexpr double slopeR = 10000.0f, loadR = 100000.0f, treblePotR = 50000.0f;
inline constexpr double trebleC = 2.2e-9f, bassC = 100e-9f, middleC = 100e-9f;

// The pot legs the knobs set: the treble pot's lower leg (wiper to B), the
// bass leg (B to M: the bass pot and the middle pot's upper leg) and the
// middle leg (M to ground).
struct Legs {
  double treble, bass, middle;

  bool operator==(const Legs&) const = default;
};

inline Legs legs(float bass, float middle, float treble) {
  const double middleKnob = clampedKnob(middle);
  return {50000.0f * clampedKnob(treble),
          200000.0f * audioTaper(clampedKnob(bass)) + 5000.0f * (1.0 - middleKnob),
          5000.0f * middleKnob};
}
}  // namespace tone_stack

}  // namespace murkfell
