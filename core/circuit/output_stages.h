#pragma once

#include "core/circuit/circuit_settings.h"
#include "core/circuit/circuit_state.h"
#include "core/circuit/process_block.h"

namespace murkfell {

// Tone stack, cabinet (when on), level and output network for the decimated
// values d[0..frames−1], written to output as floats. Returns the number of
// samples written: all of them, or up to and including the first non-finite
// one, which is written as 0 after every history went back to rest.
int runOutputStages(VectorUnit unit, CircuitState& state, const SignalSettings& settings,
                    const double* d, float* output, int frames);

}  // namespace murkfell
