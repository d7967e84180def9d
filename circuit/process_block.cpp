#include "circuit/process_block.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "circuit/oversampling.h"
#include "circuit/shaper_curves.h"

namespace murkfell {

namespace {

constexpr double inputFactor = 2.0;
constexpr double stageScale = 0.981f;
constexpr double stageOffset = 0.0174f;
constexpr double secondStageOffset = 0.039f;

// The oversampled core: first clipping stage, its filters, the coupling
// amplifier and the second clipping stage, in place on each sub-sample.
void processCore(CircuitState& state, int factor) {
    const CircuitCoefficients& c = state.coefficients;
    CircuitHistories& h = state.histories;
    for (int k = 0; k < factor; ++k) {
        const double p = firstShaper(h.overBuffer[k]);
        const double q = h.shaperAa.stepFlushed<5>(c.aa, p);
        const double r = h.smoothLp.stepFlushed<1>(c.smoothLp, q);
        const double coupled = h.coupling.stepFlushed<4>(c.coupling, r);
        h.overBuffer[k] = secondShaper(-secondStageOffset - coupled);
    }
}

double processSample(CircuitState& state, const SignalSettings& settings, int factor,
                     double in) {
    const CircuitCoefficients& c = state.coefficients;
    CircuitHistories& h = state.histories;
    const double a = h.inputHp.stepFlushed<1>(c.inputHp, inputFactor * in);
    const double b = h.gain.stepFlushed<2>(c.gain, a * stageScale + stageOffset);
    interpolate(state, -b, factor);
    processCore(state, factor);
    double v = h.tone.stepFlushed<2>(c.tone, decimate(state, factor));
    if (settings.cabSimOn == 1) {
        v = h.cabHp.stepFlushed<2>(c.cabHp, v);
        v = h.cabLp1.stepFlushed<2>(c.cabLp1, v);
        v = h.cabLp2.stepFlushed<2>(c.cabLp2, v);
    }
    const double level = settings.levelGain;
    return h.output.stepFlushed<1>(c.output, v * level);
}

}  // namespace

void processBlock(CircuitState& state, const SignalSettings& settings, const float* input,
                  float* output, int frames) {
    if (frames <= 0) return;
    if (settings.bypassOn != 0) {
        if (input != output) std::memmove(output, input, sizeof(float) * frames);
        return;
    }
    const int factor = std::clamp(settings.oversampling, 1, maxOversampling);
    for (int i = 0; i < frames; ++i) {
        const float out = static_cast<float>(processSample(state, settings, factor, input[i]));
        if (std::isfinite(out)) {
            output[i] = out;
        } else {
            // A non-finite value would stay in the histories for good: restart
            // the circuit from rest and drop this one sample.
            resetToStartingValues(state);
            output[i] = 0.0f;
        }
    }
}

}  // namespace murkfell
