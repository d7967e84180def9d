#pragma once

#include "core/circuit/circuit_settings.h"
#include "core/circuit/circuit_state.h"
#include "core/circuit/vector_unit.h"

namespace murkfell {

// Runs the circuit over one block of mono samples on the active vector unit.
// input may equal output; frames <= 0 returns at once. Settings hold for the
// whole block.
void processBlock(CircuitState& state, const SignalSettings& settings, const float* input,
                  float* output, int frames);

// processBlock on a chosen vector unit, which must be available.
void processBlockOn(VectorUnit unit, CircuitState& state, const SignalSettings& settings,
                    const float* input, float* output, int frames);

}  // namespace murkfell
