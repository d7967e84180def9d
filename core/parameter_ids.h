// Parameter indices as the host sees them; they are also the tags of the
// editor's controls.
#pragma once

#include <cstdint>

enum ParameterId : std::int32_t {
  kPageSwitch = 0,  // editor face selector, never stored
  kGain,
  kBass,
  kMiddle,
  kTreble,
  kLevel,
  kCabSim,
  kBypass,
  kLed,  // mirror of Bypass for the status lamp
  kNumParameters,
};
