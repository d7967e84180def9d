#pragma once

#include "core/circuit/capacitor_model.h"

namespace murkfell {

// The tone stack by the voltages on its treble, bass and middle capacitors
// (input to T, A to B, A to M), for the knob positions and the host rate the
// section is designed for. Its resting state is the input level on all three
// capacitors with no output, at every setting. A bass leg so short that the
// bass and middle capacitors share their charge within a twentieth of a
// sample period joins the two in `settling`.
CapacitorModel<3> toneStackModel(float bass, float middle, float treble, double rate);

}  // namespace murkfell
