#pragma once

#include "core/circuit/circuit_state.h"

// The plain interpolator and decimator, one host sample at a time: part of
// the reference evaluation the shipped loop is checked against.
namespace murkfell::reference {

// Upsampler: u followed by factor − 1 zeros through the anti-alias low-pass,
// written to overBuffer[0..factor−1] scaled by the factor.
void interpolate(CircuitState& state, double u, int factor);

// Downsampler: runs overBuffer[0..factor−1] through its own anti-alias
// low-pass and returns the output for sub-sample 0.
double decimate(CircuitState& state, int factor);

}  // namespace murkfell::reference
