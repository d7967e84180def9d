#include "reference_circuit.h"

#include <algorithm>
#include <cmath>

#include "core/circuit/shaper_curves.h"
#include "oversampling.h"

namespace murkfell::reference {

namespace {

double processSample(CircuitState& state, const SignalSettings& settings, int factor, double in) {
  const CircuitCoefficients& c = state.coefficients;
  CircuitHistories& h = state.histories;
  const double a = h.inputHp.stepFlushed<1>(c.inputHp, 2.0 * in);
  const double b = h.gain.stepFlushed<2>(c.gain, a * double(0.981f) + double(0.0174f));
  interpolate(state, -b, factor);
  for (int k = 0; k < factor; ++k) {
    const double p = firstShaper(h.overBuffer[k]);
    const double q = h.shaperAa.stepFlushed<5>(c.aa, p);
    const double r = h.smoothLp.stepFlushed<1>(c.smoothLp, q);
    const double coupled = h.coupling.stepFlushed<4>(c.coupling, r);
    h.overBuffer[k] = secondShaper(-double(0.039f) - coupled);
  }
  double v = h.tone.stepFlushed<2>(c.tone, decimate(state, factor));
  if (settings.cabSimOn == 1) {
    v = h.cabHp.stepFlushed<2>(c.cabHp, v);
    v = h.cabLp1.stepFlushed<2>(c.cabLp1, v);
    v = h.cabLp2.stepFlushed<2>(c.cabLp2, v);
  }
  return h.output.stepFlushed<1>(c.output, v * double(settings.levelGain));
}

}  // namespace

void processBlock(CircuitState& state, const SignalSettings& settings, const float* input,
                  float* output, int frames) {
  if (frames <= 0) return;
  const int factor = std::clamp(settings.oversampling, 1, maxOversampling);
  for (int i = 0; i < frames; ++i) {
    if (settings.bypassOn != 0) {
      output[i] = input[i];
      continue;
    }
    const float out = static_cast<float>(processSample(state, settings, factor, input[i]));
    if (std::isfinite(out)) {
      output[i] = out;
    } else {
      resetToStartingValues(state);
      output[i] = 0.0f;
    }
  }
}

}  // namespace murkfell::reference
