#include "core/pedal.h"

#include <bit>

#include "core/circuit/audio_taper.h"
#include "core/circuit/coefficient_design.h"
#include "core/circuit/oversampling_factor.h"
#include "core/circuit/process_block.h"

namespace murkfell {

namespace {

// Bit equality, so a NaN knob counts as unchanged once designed.
bool same(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

}  // namespace

Pedal::Pedal() {
  resetToStartingValues(circuit);
  designed = {sampleRate(), knobs()};
  recomputeCoefficients(circuit, designed.sampleRate, oversamplingFor(designed.sampleRate),
                        designed.knobs);
}

bool Pedal::setSampleRate(float rate) {
  if (!(rate >= kLowestRate && rate <= kHighestRate)) {
    return false;
  }
  designRate.store(rate, std::memory_order_relaxed);
  return true;
}

int Pedal::oversampling() const { return oversamplingFor(sampleRate()); }

KnobSettings Pedal::knobs() const {
  return {parameters.get(kGain), parameters.get(kBass), parameters.get(kMiddle),
          parameters.get(kTreble)};
}

SignalSettings Pedal::signalSettings(int oversamplingFactor) const {
  return {levelGainFor(parameters.get(kLevel)), isOn(parameters.get(kCabSim)) ? 1 : 0,
          isOn(parameters.get(kBypass)) ? 1 : 0, oversamplingFactor};
}

void Pedal::redesignWhatChanged() {
  const float rate = sampleRate();
  const KnobSettings now = knobs();
  if (!same(rate, designed.sampleRate)) {
    recomputeCoefficients(circuit, rate, oversamplingFor(rate), now);
    designed = {rate, now};
    return;
  }
  if (!same(now.gain, designed.knobs.gain)) {
    designGainStage(circuit, rate, now.gain);
    designed.knobs.gain = now.gain;
  }
  if (!same(now.bass, designed.knobs.bass) || !same(now.middle, designed.knobs.middle) ||
      !same(now.treble, designed.knobs.treble)) {
    designToneStack(circuit, rate, now.bass, now.middle, now.treble);
    designed.knobs = now;
  }
}

void Pedal::process(const float* input, float* output, int frames) {
  if (input == nullptr || output == nullptr || frames <= 0) {
    return;
  }
  redesignWhatChanged();
  processBlock(circuit, signalSettings(oversamplingFor(designed.sampleRate)), input, output,
               frames);
}

}  // namespace murkfell
