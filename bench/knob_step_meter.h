// What a knob turn does to the output while a recording plays through the
// circuit (the other knobs at 0.5, Level 0.5, the cabinet on).
//
// The knob turns at each of a number of instants spread over the recording,
// between two blocks: at once, or as a ramp of one new value per update. The
// peak from the turn until half a second after it ends is set against the
// steady peaks of the same passage with the old and with the new value held
// throughout; the larger of those is the reference. After that half second the
// output must also have become that of the new value held throughout: the
// residual is the largest difference over the next 0.1 s, relative to the peak
// of the new value's whole rendering.
#pragma once

#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/circuit/circuit_settings.h"

namespace murkfell::knob_steps {

struct Recording {
  std::string name;
  float rate;
  std::vector<float> samples;
};

enum class Knob { gain, bass, middle, treble };

const char* nameOf(Knob knob);

// How the circuit takes a new knob value at a block boundary: designing the
// new coefficients onto the histories as they stand; retuning at once so the
// capacitor voltages carry over; or gliding there, retuned on the way, as the
// effect does (knob_glide.h).
enum class Switching { plain, retune, glide };

const char* nameOf(Switching switching);

struct Turn {
  Knob knob;
  float from, to;
  Switching switching = Switching::glide;
  double rampSeconds = 0.0;  // 0: one jump; else linear, one value per update
  int samplesPerUpdate = 256;
};

inline constexpr double kNone = std::numeric_limits<double>::infinity();

struct Result {
  double worstExcessDb = -kNone;    // peak after the turn over the reference, in dB
  double worstInstant = 0.0;        // seconds into the recording
  float peakAfter = 0.0f;           // at the worst instant
  float referencePeak = 0.0f;       // at the worst instant
  double worstResidualDb = -kNone;  // relative to the new value's peak; -inf: none at all
};

class Pedal;

class StepMeter {
 public:
  // Instants spread evenly from 0.1 s to 1 s before the end, each at a
  // multiple of `blockSize` samples.
  StepMeter(Recording recording, int instants, int blockSize);
  ~StepMeter();

  Result measure(const Turn& turn);
  const Recording& recording() const { return played; }

 private:
  struct Held;
  const Held& heldThroughout(const KnobSettings& knobs);

  Recording played;
  std::vector<long> instants;
  std::map<std::vector<float>, std::unique_ptr<Held>> held;  // by knob positions
};

}  // namespace murkfell::knob_steps
