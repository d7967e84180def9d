// The nine parameters: what is stored, what each one does to the sound.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/pedal.h"
#include "tests/support/guitar_like_signal.h"

namespace {

using namespace murkfell;

const std::vector<float> kSignal = guitarLikeSignal(4096);

std::vector<float> processed(Pedal& pedal, const std::vector<float>& input) {
  std::vector<float> output(input.size());
  pedal.process(input.data(), output.data(), static_cast<int>(input.size()));
  return output;
}

TEST(Parameters, FreshInstanceReadsTheDefaults) {
  Pedal pedal;
  const float expected[] = {0.0f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 1.0f, 0.0f, 0.0f};
  for (std::int32_t index = 0; index < kNumParameters; ++index) {
    EXPECT_EQ(pedal.parameter(index), expected[index]) << "index " << index;
  }
  EXPECT_EQ(pedal.parameter(9), 0.0f);
  EXPECT_EQ(pedal.parameter(-1), 0.0f);
}

TEST(Parameters, ValuesAreStoredExactlyAsSet) {
  Pedal pedal;
  pedal.setParameter(kGain, 1.7f);
  pedal.setParameter(kBass, -0.3f);
  pedal.setParameter(kTreble, std::numeric_limits<float>::quiet_NaN());
  pedal.setParameter(kCabSim, 1e-30f);
  EXPECT_EQ(pedal.parameter(kGain), 1.7f);
  EXPECT_EQ(pedal.parameter(kBass), -0.3f);
  EXPECT_TRUE(std::isnan(pedal.parameter(kTreble)));
  EXPECT_EQ(pedal.parameter(kCabSim), 1e-30f);
}

TEST(Parameters, PageSwitchAndLampStoreNothing) {
  Pedal pedal;
  pedal.setParameter(kPageSwitch, 1.0f);
  pedal.setParameter(kLed, 1.0f);
  pedal.setParameter(42, 1.0f);
  EXPECT_EQ(pedal.parameter(kPageSwitch), 0.0f);
  EXPECT_EQ(pedal.parameter(kLed), 0.0f);
  EXPECT_EQ(pedal.parameter(kBypass), 0.0f);
  EXPECT_NE(processed(pedal, kSignal), kSignal) << "the lamp alone must not bypass";
}

TEST(Parameters, AnyNonzeroBypassCopiesTheInput) {
  for (float value : {1.0f, 1e-30f, -2.0f, std::numeric_limits<float>::quiet_NaN()}) {
    Pedal pedal;
    pedal.setParameter(kBypass, value);
    EXPECT_EQ(processed(pedal, kSignal), kSignal) << "bypass " << value;
  }
}

TEST(Parameters, OnlyExactlyZeroSwitchesTheCabinetOff) {
  Pedal on;
  Pedal tiny;
  Pedal off;
  tiny.setParameter(kCabSim, 0.001f);
  off.setParameter(kCabSim, 0.0f);
  const std::vector<float> withCabinet = processed(on, kSignal);
  EXPECT_EQ(processed(tiny, kSignal), withCabinet);
  EXPECT_NE(processed(off, kSignal), withCabinet);
}

TEST(Parameters, LevelZeroSilencesTheOutput) {
  Pedal pedal;
  pedal.setParameter(kLevel, 0.0f);
  for (float sample : processed(pedal, kSignal)) {
    ASSERT_EQ(sample, 0.0f);
  }
}

TEST(Parameters, KnobsChangeTheSoundFromTheNextBlock) {
  for (std::int32_t knob : {kGain, kBass, kMiddle, kTreble, kLevel}) {
    Pedal reference;
    Pedal turned;
    const std::vector<float> first = processed(reference, kSignal);
    EXPECT_EQ(processed(turned, kSignal), first);
    turned.setParameter(knob, 0.9f);
    EXPECT_NE(processed(turned, kSignal), processed(reference, kSignal)) << "knob " << knob;
  }
}

TEST(Parameters, KnobsOutsideTheirRangeKeepTheOutputFinite) {
  for (float value : {-5.0f, 7.0f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()}) {
    Pedal pedal;
    for (std::int32_t knob : {kGain, kBass, kMiddle, kTreble, kLevel}) {
      pedal.setParameter(knob, value);
    }
    for (float sample : processed(pedal, kSignal)) {
      ASSERT_TRUE(std::isfinite(sample)) << "knobs at " << value;
    }
  }
}

TEST(Parameters, NamesAreFoundIgnoringCaseAndThePageSwitchHasNone) {
  EXPECT_EQ(parameterNamed("Gain"), kGain);
  EXPECT_EQ(parameterNamed("cabsim"), kCabSim);
  EXPECT_EQ(parameterNamed("LED"), kLed);
  EXPECT_EQ(parameterNamed(""), std::nullopt);
  EXPECT_EQ(parameterNamed("Gai"), std::nullopt);
  EXPECT_EQ(parameterNamed("Fuzz"), std::nullopt);
}

TEST(Parameters, UnusableRatesAreRefused) {
  Pedal pedal;
  for (float rate : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(), 999.0f, 2e6f}) {
    EXPECT_FALSE(pedal.setSampleRate(rate)) << rate;
    EXPECT_EQ(pedal.sampleRate(), 44100.0f) << rate;
  }
  EXPECT_TRUE(pedal.setSampleRate(1000.0f));
  EXPECT_TRUE(pedal.setSampleRate(1e6f));
}

}  // namespace
