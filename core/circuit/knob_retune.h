// Turning a knob while the circuit runs.
//
// In a real pedal a pot that turns leaves the capacitor voltages where they
// are; only the currents change. The direct-form histories of a section hold
// past outputs shaped by the old coefficients instead, and switching new
// coefficients onto them makes the tone stack's near-DC pole ring out in a
// loud low thump. A retune therefore designs the new coefficient set and
// rewrites the section's output histories so that the network's capacitor
// voltages carry over unchanged (input histories stay).
//
// Call it on the thread that owns the histories (the audio thread), between
// two blocks, with the knob positions the current sets were designed from and
// the new ones. Sets whose knobs are unchanged (bit for bit) are left alone,
// so a retune with `from` equal to `to` changes nothing. No allocation, no
// system call: a few microseconds at most.
#pragma once

#include "core/circuit/circuit_settings.h"
#include "core/circuit/circuit_state.h"

namespace murkfell {

void retuneKnobs(CircuitState& state, float sampleRate, const KnobSettings& from,
                 const KnobSettings& to);

}  // namespace murkfell
