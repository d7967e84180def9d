#include "core/circuit/knob_glide.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "core/circuit/audio_taper.h"
#include "core/circuit/knob_retune.h"
#include "core/circuit/process_block.h"

namespace murkfell {

namespace {

bool sameBits(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool sameBits(const KnobSettings& a, const KnobSettings& b) {
  return sameBits(a.gain, b.gain) && sameBits(a.bass, b.bass) && sameBits(a.middle, b.middle) &&
         sameBits(a.treble, b.treble);
}

// A knob part of the way from `from` to `to` (the positions the designs use);
// one that does not move keeps its exact value.
float between(float from, float to, double fraction) {
  if (sameBits(from, to)) return to;
  const double a = clampedKnob(from), b = clampedKnob(to);
  return static_cast<float>(a + (b - a) * fraction);
}

}  // namespace

void KnobGlide::settle(const KnobSettings& knobs) {
  now = start = target = knobs;
  length = remaining = 0;
  untilRetune = 0;
}

void KnobGlide::glideTo(const KnobSettings& next, float sampleRate) {
  if (sameBits(next, target)) return;
  start = now;
  target = next;
  length = std::max(1L, std::lround(glideSeconds * sampleRate));
  remaining = length;
  untilRetune = 0;
}

void KnobGlide::advance(CircuitState& state, float sampleRate) {
  remaining = std::max(0L, remaining - samplesPerRetune);
  KnobSettings next = target;
  if (remaining > 0) {
    const double fraction = 1.0 - static_cast<double>(remaining) / length;
    next = {between(start.gain, target.gain, fraction), between(start.bass, target.bass, fraction),
            between(start.middle, target.middle, fraction),
            between(start.treble, target.treble, fraction)};
  }
  retuneKnobs(state, sampleRate, now, next);
  now = next;
  untilRetune = samplesPerRetune;
}

void KnobGlide::process(CircuitState& state, float sampleRate, const SignalSettings& settings,
                        const float* input, float* output, int frames) {
  int done = 0;
  while (gliding() && done < frames) {
    if (untilRetune == 0) advance(state, sampleRate);
    const int run = std::min(untilRetune, frames - done);
    processBlock(state, settings, input + done, output + done, run);
    untilRetune -= run;
    done += run;
  }
  if (done < frames) processBlock(state, settings, input + done, output + done, frames - done);
}

}  // namespace murkfell
