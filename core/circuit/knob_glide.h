// Knob changes while the circuit runs, as a hand turns a pot: the knobs
// travel to their new positions over 10 ms, and the circuit is retuned
// (knob_retune.h) every 64 samples on the way. Carrying the capacitor
// voltages over removes the thump of switching coefficients; the glide takes
// the edge off what remains, the network's own response to a pot that jumps.
//
// Owned by the thread that processes (the audio thread). While no glide is
// under way, process() is processBlock() and nothing else.
#pragma once

#include "core/circuit/circuit_settings.h"
#include "core/circuit/circuit_state.h"

namespace murkfell {

class KnobGlide {
 public:
  static constexpr double glideSeconds = 0.01;
  static constexpr int samplesPerRetune = 64;

  // The circuit has just been designed for `knobs` (a fresh start, a restart
  // or a new rate): they hold from here, with no glide under way.
  void settle(const KnobSettings& knobs);

  // The knobs head for `target` from where they stand now, over the glide
  // time at `sampleRate`. A target equal to the present one, bit for bit,
  // changes nothing (a glide under way goes on).
  void glideTo(const KnobSettings& target, float sampleRate);

  // One block as processBlock() runs it, with the circuit retuned on the way
  // while a glide is under way. The circuit's coefficients are designed for
  // positions() between calls.
  void process(CircuitState& state, float sampleRate, const SignalSettings& settings,
               const float* input, float* output, int frames);

  const KnobSettings& positions() const { return now; }
  bool gliding() const { return remaining > 0; }

 private:
  void advance(CircuitState& state, float sampleRate);

  KnobSettings now, start, target;
  long length = 0;     // samples from start to target
  long remaining = 0;  // samples until the target is reached
  int untilRetune = 0;
};

}  // namespace murkfell
