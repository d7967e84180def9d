#include "core/pedal.h"

#include <bit>

#include "core/circuit/audio_taper.h"
#include "core/circuit/coefficient_design.h"
#include "core/circuit/oversampling_factor.h"

namespace murkfell {

namespace {

// Bit equality, so a NaN rate counts as unchanged once designed.
bool same(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

}  // namespace

Pedal::Pedal() : designedRate(sampleRate()) {
  resetToStartingValues(circuit);
  knobGlide.settle(knobs());
  recomputeCoefficients(circuit, designedRate, oversamplingFor(designedRate),
                        knobGlide.positions());
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

void Pedal::restart() {
  if (stopped.exchange(false, std::memory_order_relaxed)) {
    restartPending.store(true, std::memory_order_release);
  }
}

void Pedal::redesignWhatChanged() {
  const float rate = sampleRate();
  const KnobSettings now = knobs();
  if (startingFresh || !same(rate, designedRate)) {
    recomputeCoefficients(circuit, rate, oversamplingFor(rate), now);
    knobGlide.settle(now);
    designedRate = rate;
  } else {
    knobGlide.glideTo(now, rate);
  }
}

void Pedal::process(const float* input, float* output, int frames) {
  if (input == nullptr || output == nullptr || frames <= 0) {
    return;
  }
  if (restartPending.load(std::memory_order_acquire) &&
      restartPending.exchange(false, std::memory_order_acquire)) {
    resetToStartingValues(circuit);
    startingFresh = true;
  }
  redesignWhatChanged();
  startingFresh = false;
  knobGlide.process(circuit, designedRate, signalSettings(oversamplingFor(designedRate)), input,
                    output, frames);
}

}  // namespace murkfell
