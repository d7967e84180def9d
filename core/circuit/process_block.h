#pragma once

#include "core/circuit/circuit_settings.h"
#include "core/circuit/circuit_state.h"

namespace murkfell {

// Runs the circuit over one block of mono samples. input may equal output;
// frames <= 0 returns at once. Settings hold for the whole block.
void processBlock(CircuitState& state, const SignalSettings& settings, const float* input,
                  float* output, int frames);

// The vector units the loop can run its four-lane sections on. Both give
// bit-identical output; processBlock takes the widest one the CPU has.
enum class VectorUnit { sse2, avx2 };

bool isAvailable(VectorUnit unit);

// processBlock on a chosen vector unit, which must be available.
void processBlockOn(VectorUnit unit, CircuitState& state, const SignalSettings& settings,
                    const float* input, float* output, int frames);

}  // namespace murkfell
