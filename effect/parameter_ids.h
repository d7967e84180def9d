// Parameter indices as the host sees them; they are also the tags of the
// editor's controls.
#pragma once

#include "host/aeffect.h"

enum ParameterId : VstInt32 {
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
