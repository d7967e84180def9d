#pragma once

#include "core/circuit/circuit_state.h"

namespace murkfell {

// Upsampler: u followed by factor − 1 zeros through the anti-alias low-pass,
// written to overBuffer[0..factor−1] scaled by the factor.
void interpolate(CircuitState& state, double u, int factor);

// Downsampler: runs overBuffer[0..factor−1] through its own anti-alias
// low-pass and returns the output for sub-sample 0.
double decimate(CircuitState& state, int factor);

}  // namespace murkfell
