#pragma once

#include "circuit/circuit_settings.h"
#include "circuit/circuit_state.h"

namespace murkfell {

// Runs the circuit over one block of mono samples. input may equal output;
// frames <= 0 returns at once. Settings hold for the whole block.
void processBlock(CircuitState& state, const SignalSettings& settings, const float* input,
                  float* output, int frames);

}  // namespace murkfell
