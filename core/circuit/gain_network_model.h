#pragma once

#include "core/circuit/capacitor_model.h"

namespace murkfell {

// The Gain-controlled inverting amplifier by the voltages on its input shunt
// capacitor, its feedback capacitor and its compensation capacitor; the
// amplifier is ideal, so the feedback capacitor carries the negated output.
CapacitorModel<3> gainNetworkModel(float gain);

}  // namespace murkfell
