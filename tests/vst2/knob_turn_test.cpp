// Knob turns while the effect plays reach the circuit as glides
// (core/circuit/knob_glide.h), whatever the host's block size: the effect must
// give exactly what the circuit gives when driven that way directly, which is
// what the transient measurements (tests/robustness/knob_transient_test.cpp)
// measure.
#include <gtest/gtest.h>

#include <random>

#include "core/circuit/audio_taper.h"
#include "core/circuit/coefficient_design.h"
#include "core/circuit/knob_glide.h"
#include "tests/vst2/effect_fixture.h"

namespace {

using namespace murkfell;

TEST(KnobTurns, TheEffectGlidesAsTheCircuitDoes) {
  std::vector<float> input = guitarLikeSignal(20000);
  for (int blockSize : {1, 64, 256, 1000}) {
    SCOPED_TRACE(blockSize);
    MurkfellEffect effect{nullptr};
    murkfell::CircuitState circuit{};
    murkfell::resetToStartingValues(circuit);
    murkfell::recomputeCoefficients(circuit, 44100.0f, 12, {});
    murkfell::KnobGlide glide;
    glide.settle({});
    const murkfell::SignalSettings settings{murkfell::levelGainFor(0.5f), 1, 0, 12};

    std::mt19937 random(11);
    murkfell::KnobSettings knobs;
    std::vector<float> expected(input.size()), actual(input.size());
    for (int done = 0; done < static_cast<int>(input.size()); done += blockSize) {
      const int frames = std::min(blockSize, static_cast<int>(input.size()) - done);
      if (done > 0 && random() % 4 == 0) {  // the first block takes values at once
        float* positions[] = {&knobs.gain, &knobs.bass, &knobs.middle, &knobs.treble};
        const auto knob = static_cast<VstInt32>(random() % 4);
        *positions[knob] = static_cast<float>(random() % 101) / 100.0f;
        effect.setParameter(kGain + knob, *positions[knob]);
        glide.glideTo(knobs, 44100.0f);
      }
      glide.process(circuit, 44100.0f, settings, input.data() + done, expected.data() + done,
                    frames);
      float* inputs[] = {input.data() + done};
      float* outputs[] = {actual.data() + done};
      effect.processReplacing(inputs, outputs, frames);
    }
    EXPECT_EQ(actual, expected);
  }
}

}  // namespace
