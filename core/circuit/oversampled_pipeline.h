#pragma once

#include "core/circuit/circuit_state.h"
#include "core/circuit/process_block.h"

namespace murkfell {

// The oversampled part of the chain (upsampler, both clipping stages with
// their filters, downsampler) for u[0..frames−1], the inverted gain-stage
// outputs, giving the decimated values d[0..frames−1]. In the steady state
// its four recurrences step together in the lanes of the chosen vector unit.
void runOversampled(VectorUnit unit, CircuitState& state, int factor, const double* u, double* d,
                    int frames);

}  // namespace murkfell
