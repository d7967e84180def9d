// The nine parameters: what is stored, what each one does to the sound.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/effect/effect_fixture.h"

namespace {

const std::vector<float> kSignal = guitarLikeSignal(4096);

TEST(Parameters, FreshInstanceReadsTheDefaults) {
  MurkfellEffect effect{nullptr};
  const float expected[] = {0.0f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 1.0f, 0.0f, 0.0f};
  for (VstInt32 index = 0; index < kNumParameters; ++index) {
    EXPECT_EQ(effect.getParameter(index), expected[index]) << "index " << index;
  }
  EXPECT_EQ(effect.getParameter(9), 0.0f);
  EXPECT_EQ(effect.getParameter(-1), 0.0f);
}

TEST(Parameters, ValuesAreStoredExactlyAsSet) {
  MurkfellEffect effect{nullptr};
  effect.setParameter(kGain, 1.7f);
  effect.setParameter(kBass, -0.3f);
  effect.setParameter(kTreble, std::numeric_limits<float>::quiet_NaN());
  effect.setParameter(kCabSim, 1e-30f);
  EXPECT_EQ(effect.getParameter(kGain), 1.7f);
  EXPECT_EQ(effect.getParameter(kBass), -0.3f);
  EXPECT_TRUE(std::isnan(effect.getParameter(kTreble)));
  EXPECT_EQ(effect.getParameter(kCabSim), 1e-30f);
}

TEST(Parameters, PageSwitchAndLampStoreNothing) {
  MurkfellEffect effect{nullptr};
  effect.setParameter(kPageSwitch, 1.0f);
  effect.setParameter(kLed, 1.0f);
  effect.setParameter(42, 1.0f);
  EXPECT_EQ(effect.getParameter(kPageSwitch), 0.0f);
  EXPECT_EQ(effect.getParameter(kLed), 0.0f);
  EXPECT_EQ(effect.getParameter(kBypass), 0.0f);
  EXPECT_NE(processed(effect, kSignal), kSignal) << "the lamp alone must not bypass";
}

TEST(Parameters, AnyNonzeroBypassCopiesTheInput) {
  for (float value : {1.0f, 1e-30f, -2.0f, std::numeric_limits<float>::quiet_NaN()}) {
    MurkfellEffect effect{nullptr};
    effect.setParameter(kBypass, value);
    EXPECT_EQ(processed(effect, kSignal), kSignal) << "bypass " << value;
  }
}

TEST(Parameters, OnlyExactlyZeroSwitchesTheCabinetOff) {
  MurkfellEffect on{nullptr};
  MurkfellEffect tiny{nullptr};
  MurkfellEffect off{nullptr};
  tiny.setParameter(kCabSim, 0.001f);
  off.setParameter(kCabSim, 0.0f);
  const std::vector<float> withCabinet = processed(on, kSignal);
  EXPECT_EQ(processed(tiny, kSignal), withCabinet);
  EXPECT_NE(processed(off, kSignal), withCabinet);
}

TEST(Parameters, LevelZeroSilencesTheOutput) {
  MurkfellEffect effect{nullptr};
  effect.setParameter(kLevel, 0.0f);
  for (float sample : processed(effect, kSignal)) {
    ASSERT_EQ(sample, 0.0f);
  }
}

TEST(Parameters, KnobsChangeTheSoundFromTheNextBlock) {
  for (VstInt32 knob : {kGain, kBass, kMiddle, kTreble, kLevel}) {
    MurkfellEffect reference{nullptr};
    MurkfellEffect turned{nullptr};
    const std::vector<float> first = processed(reference, kSignal);
    EXPECT_EQ(processed(turned, kSignal), first);
    turned.setParameter(knob, 0.9f);
    EXPECT_NE(processed(turned, kSignal), processed(reference, kSignal)) << "knob " << knob;
  }
}

TEST(Parameters, KnobsOutsideTheirRangeKeepTheOutputFinite) {
  for (float value : {-5.0f, 7.0f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()}) {
    MurkfellEffect effect{nullptr};
    for (VstInt32 knob : {kGain, kBass, kMiddle, kTreble, kLevel}) {
      effect.setParameter(knob, value);
    }
    for (float sample : processed(effect, kSignal)) {
      ASSERT_TRUE(std::isfinite(sample)) << "knobs at " << value;
    }
  }
}

}  // namespace
