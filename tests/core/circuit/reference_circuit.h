#pragma once

#include "core/circuit/circuit_settings.h"
#include "core/circuit/circuit_state.h"

namespace murkfell::reference {

// The sample loop evaluated the plain way, one host sample after the other,
// each stage in chain order: the oracle the shipped loop must match bit for bit.
void processBlock(CircuitState& state, const SignalSettings& settings, const float* input,
                  float* output, int frames);

}  // namespace murkfell::reference
