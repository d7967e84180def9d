#include "core/circuit/process_block.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/circuit/output_stages.h"
#include "core/circuit/oversampled_pipeline.h"

// The chain runs a chunk of host samples at a time in three passes: the
// host-rate head (input high-pass, gain network), the oversampled part
// (oversampled_pipeline.cpp) and the output stages (output_stages.cpp). Every
// section still sees its inputs in order and does the same arithmetic in the
// same order as a sample-by-sample evaluation, so the output is
// bit-identical; the passes only let the recurrences of different sections
// run side by side.

namespace murkfell {

namespace {

constexpr double inputFactor = 2.0;
constexpr double stageScale = 0.981f;
constexpr double stageOffset = 0.0174f;

constexpr int chunkFrames = 512;

// Input high-pass and gain network; hands the inverted gain-stage output to
// the upsampler. Stops before the first sample that is not finite and
// returns how many it ran.
int runHead(CircuitState& state, const float* input, double* u, int frames) {
  const CircuitCoefficients& c = state.coefficients;
  FilterHistory<1> inputHp = state.histories.inputHp;
  FilterHistory<3> gain = state.histories.gain;
  int i = 0;
  for (; i < frames && std::isfinite(input[i]); ++i) {
    const double a = inputHp.stepFlushed<1>(c.inputHp, inputFactor * input[i]);
    u[i] = -gain.stepFlushed<2>(c.gain, a * stageScale + stageOffset);
  }
  state.histories.inputHp = inputHp;
  state.histories.gain = gain;
  return i;
}

}  // namespace

void processBlockOn(VectorUnit unit, CircuitState& state, const SignalSettings& settings,
                    const float* input, float* output, int frames) {
  if (frames <= 0) return;
  if (settings.bypassOn != 0) {
    if (input != output) std::memmove(output, input, sizeof(float) * frames);
    return;
  }
  const int factor = std::clamp(settings.oversampling, 1, maxOversampling);
  double u[chunkFrames], d[chunkFrames];
  for (int done = 0; done < frames;) {
    // A sample that is not finite poisons every section it reaches, so its
    // output resets the circuit: answer it with that at once instead of
    // running the chain over it and again over what follows.
    if (!std::isfinite(input[done])) {
      output[done++] = 0.0f;
      resetToStartingValues(state);
      continue;
    }
    const int chunk = runHead(state, input + done, u, std::min(chunkFrames, frames - done));
    runOversampled(unit, state, factor, u, d, chunk);
    done += runOutputStages(unit, state, settings, d, output + done, chunk);
  }
}

void processBlock(CircuitState& state, const SignalSettings& settings, const float* input,
                  float* output, int frames) {
  processBlockOn(activeVectorUnit(), state, settings, input, output, frames);
}

}  // namespace murkfell
