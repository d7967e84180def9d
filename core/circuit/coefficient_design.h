#pragma once

#include "core/circuit/circuit_settings.h"
#include "core/circuit/circuit_state.h"

namespace murkfell {

// All ten coefficient sets for a host rate and oversampling factor; histories
// are never touched. A rate that is not finite and positive designs for 44100 Hz.
void recomputeCoefficients(CircuitState& state, float sampleRate, int oversampling,
                           const KnobSettings& knobs);

// The rate the host-rate sections are designed for: the host's rate, or
// 44100 Hz for one that is not finite and positive.
double hostRate(float sampleRate);

// Gain-controlled inverting amplifier at the host rate.
void designGainStage(CircuitState& state, float sampleRate, float gain);

// Passive three-knob tone stack at the host rate.
void designToneStack(CircuitState& state, float sampleRate, float bass, float middle, float treble);

// Third-order cabinet low-pass with a notch, at the host rate.
FilterCoefficients<3> designCabinetFilter(float sampleRate, double r1, double r2, double r3,
                                          double r4, double c1, double c2, double c3);

// Second amplifier stage, at the oversampled rate.
void designCoupling(CircuitState& state, float sampleRate, int factor);

// Sixth-order inverse-Chebyshev anti-alias low-pass, at the oversampled rate.
void designAntiAlias(CircuitState& state, float sampleRate, int factor);

}  // namespace murkfell
