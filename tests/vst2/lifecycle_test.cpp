// Sample rate, suspend and resume, and the state a host saves and restores.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "core/circuit/audio_taper.h"
#include "core/circuit/coefficient_design.h"
#include "core/circuit/process_block.h"
#include "tests/vst2/effect_fixture.h"

namespace {

using namespace murkfell;

const std::vector<float> kSignal = guitarLikeSignal(2048);

TEST(Lifecycle, OversamplingFollowsTheRate) {
  MurkfellEffect effect{nullptr};
  EXPECT_EQ(effect.getSampleRate(), 44100.0f);
  EXPECT_EQ(effect.pedal().oversampling(), 12);
  for (float rate : {44100.0f, 48000.0f, 49999.0f}) {
    effect.setSampleRate(rate);
    EXPECT_EQ(effect.pedal().oversampling(), 12) << rate;
  }
  for (float rate : {50000.0f, 88200.0f, 96000.0f, 192000.0f}) {
    effect.setSampleRate(rate);
    EXPECT_EQ(effect.pedal().oversampling(), 7) << rate;
  }
}

TEST(Lifecycle, OnlyTheSampleRateRequestSetsTheRate) {
  MurkfellEffect effect{nullptr};
  effect.dispatcher(effSetBlockSizeAndSampleRate, 0, 512, nullptr, 96000.0f);
  EXPECT_EQ(effect.getSampleRate(), 44100.0f);
  EXPECT_EQ(effect.pedal().oversampling(), 12);
  effect.dispatcher(effSetSampleRate, 0, 0, nullptr, 96000.0f);
  EXPECT_EQ(effect.getSampleRate(), 96000.0f);
  EXPECT_EQ(effect.pedal().oversampling(), 7);
}

TEST(Lifecycle, ConstructionDesignsForTheDefaultRate) {
  MurkfellEffect effect{nullptr};
  murkfell::CircuitState expected{};
  murkfell::recomputeCoefficients(expected, 44100.0f, 12, murkfell::KnobSettings{});
  EXPECT_TRUE(effect.pedal().circuitState().coefficients == expected.coefficients);
}

TEST(Lifecycle, UnusableRatesAreIgnored) {
  MurkfellEffect reference{nullptr};
  const std::vector<float> expected = processed(reference, kSignal);
  for (float rate : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                     std::numeric_limits<float>::infinity(), 1.0f, 999.0f, 5e6f}) {
    MurkfellEffect effect{nullptr};
    effect.setSampleRate(rate);
    EXPECT_EQ(effect.getSampleRate(), 44100.0f) << rate;
    EXPECT_EQ(effect.pedal().oversampling(), 12) << rate;
    EXPECT_EQ(processed(effect, kSignal), expected) << rate;
  }
}

TEST(Lifecycle, EveryRateAHostUsesIsAccepted) {
  for (float rate : {8000.0f, 22050.0f, 44100.0f, 96000.0f, 384000.0f, 768000.0f}) {
    MurkfellEffect effect{nullptr};
    effect.setSampleRate(rate);
    EXPECT_EQ(effect.getSampleRate(), rate);
    for (float sample : processed(effect, guitarLikeSignal(4096, rate))) {
      ASSERT_TRUE(std::isfinite(sample)) << rate;
      ASSERT_LT(std::fabs(sample), 4.0f) << rate;
    }
  }
}

TEST(Lifecycle, RateChangesRedesignEverySetAndKeepTheHistories) {
  MurkfellEffect effect{nullptr};
  processed(effect, kSignal);
  const murkfell::CircuitState at44100 = effect.pedal().circuitState();

  effect.setSampleRate(96000.0f);
  processed(effect, {});
  EXPECT_TRUE(effect.pedal().circuitState().histories == at44100.histories)
      << "an empty block runs nothing";
  processed(effect, std::vector<float>(1, 0.0f));
  murkfell::CircuitState expected{};
  murkfell::recomputeCoefficients(expected, 96000.0f, 7, murkfell::KnobSettings{});
  EXPECT_TRUE(effect.pedal().circuitState().coefficients == expected.coefficients);

  effect.setSampleRate(44100.0f);
  processed(effect, std::vector<float>(1, 0.0f));
  EXPECT_TRUE(effect.pedal().circuitState().coefficients == at44100.coefficients);
}

TEST(Lifecycle, TheBlockAfterARateChangeRunsEntirelyAtTheNewRate) {
  MurkfellEffect changed{nullptr};
  MurkfellEffect fresh{nullptr};
  changed.setSampleRate(96000.0f);
  fresh.setSampleRate(96000.0f);
  EXPECT_EQ(processed(changed, kSignal), processed(fresh, kSignal));
}

TEST(Lifecycle, ResumeWithoutSuspendChangesNothing) {
  MurkfellEffect plain{nullptr};
  MurkfellEffect resumed{nullptr};
  const std::vector<float> firstPlain = processed(plain, kSignal);
  EXPECT_EQ(processed(resumed, kSignal), firstPlain);
  resumed.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
  resumed.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
  EXPECT_EQ(processed(resumed, kSignal), processed(plain, kSignal));
}

// The settings the Audacity checks play with: Gain at 0.8, the cabinet off.
void driveHard(MurkfellEffect& effect) {
  effect.setParameter(kGain, 0.8f);
  effect.setParameter(kCabSim, 0.0f);
}

// Audacity plays a stereo track through one mono instance: the left channel,
// a suspend and a resume, then the right channel. Each channel must sound as
// it does through an instance of its own; so must one after a rate change
// while suspended.
TEST(Lifecycle, SuspendThenResumeStartsAfresh) {
  std::vector<float> right(3000);
  for (std::size_t i = 0; i < right.size(); ++i) {
    right[i] = static_cast<float>(0.25 * std::sin(2 * std::numbers::pi * 220.0 * i / 44100.0));
  }
  MurkfellEffect stereo{nullptr};
  driveHard(stereo);
  stereo.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
  MurkfellEffect leftAlone{nullptr};
  driveHard(leftAlone);
  EXPECT_EQ(processed(stereo, kSignal), processed(leftAlone, kSignal));

  stereo.dispatcher(effMainsChanged, 0, 0, nullptr, 0.0f);
  stereo.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
  MurkfellEffect rightAlone{nullptr};
  driveHard(rightAlone);
  EXPECT_EQ(processed(stereo, right), processed(rightAlone, right));

  stereo.dispatcher(effMainsChanged, 0, 0, nullptr, 0.0f);
  stereo.dispatcher(effSetSampleRate, 0, 0, nullptr, 96000.0f);
  stereo.setParameter(kTreble, 0.1f);
  stereo.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
  MurkfellEffect at96k{nullptr};
  at96k.setSampleRate(96000.0f);
  driveHard(at96k);
  at96k.setParameter(kTreble, 0.1f);
  EXPECT_EQ(processed(stereo, kSignal), processed(at96k, kSignal));
}

// Values set before the first block after construction or a restart take
// effect at once, exactly as the sets designed for them (a restored session
// starts with its own sound); later changes glide (knob_turn_test.cpp).
TEST(Lifecycle, ValuesBeforeTheFirstBlockTakeEffectAtOnce) {
  const murkfell::KnobSettings restored{0.9f, 0.1f, 0.8f, 0.3f};
  MurkfellEffect effect{nullptr};
  effect.setParameter(kGain, restored.gain);
  effect.setParameter(kBass, restored.bass);
  effect.setParameter(kMiddle, restored.middle);
  effect.setParameter(kTreble, restored.treble);
  const std::vector<float> output = processed(effect, kSignal);

  murkfell::CircuitState circuit{};
  murkfell::resetToStartingValues(circuit);
  murkfell::recomputeCoefficients(circuit, 44100.0f, 12, restored);
  std::vector<float> expected(kSignal.size());
  murkfell::processBlock(circuit, {murkfell::levelGainFor(0.5f), 1, 0, 12}, kSignal.data(),
                         expected.data(), static_cast<int>(kSignal.size()));
  EXPECT_EQ(output, expected);
}

TEST(Lifecycle, RestoredStateSoundsTheSame) {
  MurkfellEffect original{nullptr};
  const float saved[] = {0.0f, 0.8f, 0.2f, 0.7f, 0.4f, 0.6f, 0.0f, 1.0f, 1.0f};
  for (VstInt32 index = 0; index < kNumParameters; ++index) {
    original.setParameter(index, saved[index]);
  }
  MurkfellEffect restored{nullptr};
  for (VstInt32 index = 0; index < kNumParameters; ++index) {
    restored.setParameter(index, original.getParameter(index));
  }
  EXPECT_EQ(restored.getParameter(kBypass), 1.0f);
  EXPECT_EQ(restored.getParameter(kLed), 1.0f);
  EXPECT_EQ(processed(restored, kSignal), kSignal);
  EXPECT_EQ(processed(original, kSignal), kSignal);

  original.setParameter(kBypass, 0.0f);
  restored.setParameter(kBypass, 0.0f);
  EXPECT_EQ(processed(restored, kSignal), processed(original, kSignal));
  EXPECT_TRUE(restored.pedal().circuitState().coefficients ==
              original.pedal().circuitState().coefficients);
}

}  // namespace
