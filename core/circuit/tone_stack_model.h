#pragma once

#include "core/circuit/capacitor_model.h"

namespace murkfell {

// The tone stack by its capacitor voltages, for the knob positions and the
// host rate the section is designed for. State: the treble capacitor's voltage
// (input to T), the charge-weighted mean of the bass and middle capacitors'
// voltages (A to B, A to M) and their difference. At rest all three capacitors
// hold the input level and the output is 0, at every setting: the state
// (1, 1, 0) per unit of input. A bass leg so short that the bass and middle
// capacitors even out their charge within a twentieth of a sample period sets
// the difference to 0 in `settling`.
CapacitorModel<3> toneStackModel(float bass, float middle, float treble, double rate);

}  // namespace murkfell
