#pragma once

namespace murkfell {

// Knob positions the coefficient designs follow (normally 0..1).
struct KnobSettings {
  float gain = 0.5f, bass = 0.5f, middle = 0.5f, treble = 0.5f;
};

// Plain per-block settings read by the sample loop.
struct SignalSettings {
  float levelGain;   // output level factor applied before the output network
  int cabSimOn;      // exactly 1 runs the cabinet sections
  int bypassOn;      // nonzero copies input to output untouched
  int oversampling;  // sub-samples per host sample, 1..12
};

}  // namespace murkfell
