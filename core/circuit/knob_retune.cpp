#include "core/circuit/knob_retune.h"

#include <bit>
#include <cstdint>

#include "core/circuit/audio_taper.h"
#include "core/circuit/capacitor_model.h"
#include "core/circuit/coefficient_design.h"
#include "core/circuit/gain_network_model.h"
#include "core/circuit/network_parts.h"
#include "core/circuit/tone_stack_model.h"

namespace murkfell {

namespace {

bool sameBits(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// Rewrites the output histories of a section just redesigned from the network
// `before` to `after` so that its capacitor voltages carry over. Should the
// histories pin down no voltages (they never do in practice), the section
// keeps its histories as they stand.
void carryVoltagesOver(const CapacitorModel<3>& before, const CapacitorModel<3>& after, double rate,
                       const FilterCoefficients<3>& coefficients, FilterHistory<3>& history) {
  Vector<3> voltages;
  if (!recoverVoltages(before, rate, history, voltages)) return;
  voltages = after.settling * (before.settling * voltages);
  Vector<3> outputs;
  if (continuingOutputs(after, rate, coefficients, voltages, history, outputs)) history.y = outputs;
}

}  // namespace

void retuneKnobs(CircuitState& state, float sampleRate, const KnobSettings& from,
                 const KnobSettings& to) {
  const double rate = hostRate(sampleRate);
  if (!sameBits(from.gain, to.gain)) {
    designGainStage(state, sampleRate, to.gain);
    if (clampedKnob(from.gain) != clampedKnob(to.gain)) {
      carryVoltagesOver(gainNetworkModel(from.gain), gainNetworkModel(to.gain), rate,
                        state.coefficients.gain, state.histories.gain);
    }
  }
  if (!sameBits(from.bass, to.bass) || !sameBits(from.middle, to.middle) ||
      !sameBits(from.treble, to.treble)) {
    designToneStack(state, sampleRate, to.bass, to.middle, to.treble);
    if (tone_stack::legs(from.bass, from.middle, from.treble) !=
        tone_stack::legs(to.bass, to.middle, to.treble)) {
      carryVoltagesOver(toneStackModel(from.bass, from.middle, from.treble, rate),
                        toneStackModel(to.bass, to.middle, to.treble, rate), rate,
                        state.coefficients.tone, state.histories.tone);
    }
  }
}

}  // namespace murkfell
