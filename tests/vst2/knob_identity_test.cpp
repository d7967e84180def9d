// Each knob, set by index through the loaded plug-in as a host sets it, does
// its own job and no other's: measured from rendered sines, Bass lifts the
// lows, Middle the mids, Treble the highs, Gain adds harmonics and Level
// changes the loudness alone. Two knobs swapped anywhere between the host's
// index and the circuit fail here.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "tests/support/dispatch.h"
#include "tools/vst_loader/vst_library.h"

namespace {

constexpr double kRate = 48000.0;
// One second per tone, measured over the second half, once the filters have
// settled; every tone below fits a whole number of periods in it.
constexpr int kFrames = 48000;
constexpr int kSettled = 24000;
constexpr double kLow = 100.0;
constexpr double kMid = 750.0;
constexpr double kHigh = 6000.0;
constexpr double kDriven = 200.0;  // the tone whose harmonics are measured
constexpr double kAmplitude = 0.1;

VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// The amplitude of one frequency in the settled output (a single DFT bin).
double amplitudeAt(const std::vector<float>& output, double frequency) {
  double inPhase = 0.0;
  double quadrature = 0.0;
  for (int i = kSettled; i < kFrames; ++i) {
    const double phase = 2.0 * std::numbers::pi * frequency * i / kRate;
    inPhase += output[i] * std::cos(phase);
    quadrature += output[i] * std::sin(phase);
  }
  return 2.0 * std::hypot(inPhase, quadrature) / (kFrames - kSettled);
}

double decibels(double amplitude) { return 20.0 * std::log10(amplitude); }

// What one knob setting does to the sound, the others at their defaults.
struct Sound {
  double low, mid, high;  // dB of each tone
  double harmonics;       // harmonics 2 to 10 of the driven tone, relative to it
};

// The difference between two settings of a knob.
struct Turn {
  double low, mid, high;  // dB gained at each tone
  double harmonics;       // ratio of the harmonic shares
};

class KnobIdentity : public ::testing::Test {
 protected:
  Sound soundWith(VstInt32 index, float value) {
    AEffect* effect = library.mainEntry()(quietHost);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    dispatch(effect, effMainsChanged, 0, 1);
    effect->setParameter(effect, index, value);
    Sound sound{};
    sound.low = decibels(amplitudeAt(render(effect, kLow), kLow));
    sound.mid = decibels(amplitudeAt(render(effect, kMid), kMid));
    sound.high = decibels(amplitudeAt(render(effect, kHigh), kHigh));
    const std::vector<float> driven = render(effect, kDriven);
    double harmonicPower = 0.0;
    for (int harmonic = 2; harmonic <= 10; ++harmonic) {
      harmonicPower += std::pow(amplitudeAt(driven, harmonic * kDriven), 2);
    }
    sound.harmonics = std::sqrt(harmonicPower) / amplitudeAt(driven, kDriven);
    dispatch(effect, effClose);
    return sound;
  }

  Turn turning(VstInt32 index, float from, float to) {
    const Sound before = soundWith(index, from);
    const Sound after = soundWith(index, to);
    return {after.low - before.low, after.mid - before.mid, after.high - before.high,
            after.harmonics / before.harmonics};
  }

  std::string nameOf(VstInt32 index) {
    AEffect* effect = library.mainEntry()(quietHost);
    char name[kVstMaxParamStrLen] = {};
    dispatch(effect, effGetParamName, index, 0, name);
    dispatch(effect, effClose);
    return name;
  }

  VstLibrary library{MURKFELL_PLUGIN_PATH};

 private:
  static std::vector<float> render(AEffect* effect, double frequency) {
    std::vector<float> input(kFrames);
    std::vector<float> output(kFrames);
    for (int i = 0; i < kFrames; ++i) {
      input[i] =
          static_cast<float>(kAmplitude * std::sin(2.0 * std::numbers::pi * frequency * i / kRate));
    }
    float* inputs[] = {input.data()};
    float* outputs[] = {output.data()};
    effect->processReplacing(effect, inputs, outputs, kFrames);
    return output;
  }
};

// Turning a tone knob reshapes the spectrum but adds no drive of its own.
constexpr double kToneHarmonicsAtMost = 3.0;

TEST_F(KnobIdentity, BassLiftsTheLowsAlone) {
  EXPECT_EQ(nameOf(2), "Bass");
  const Turn turn = turning(2, 0.0f, 1.0f);
  EXPECT_GT(turn.low, 6.0);
  EXPECT_GT(turn.low, turn.mid + 6.0);
  EXPECT_LT(std::fabs(turn.high), 2.0);
  EXPECT_LT(turn.harmonics, kToneHarmonicsAtMost);
}

TEST_F(KnobIdentity, MiddleLiftsTheMidsMost) {
  EXPECT_EQ(nameOf(3), "Middle");
  const Turn turn = turning(3, 0.0f, 1.0f);
  EXPECT_GT(turn.mid, 6.0);
  EXPECT_GT(turn.mid, turn.low + 6.0);
  EXPECT_GT(turn.mid, turn.high + 4.0);
  EXPECT_LT(turn.harmonics, kToneHarmonicsAtMost);
}

TEST_F(KnobIdentity, TrebleLiftsTheHighsAlone) {
  EXPECT_EQ(nameOf(4), "Treble");
  const Turn turn = turning(4, 0.0f, 1.0f);
  EXPECT_GT(turn.high, 6.0);
  EXPECT_GT(turn.high, turn.mid + 6.0);
  EXPECT_GT(turn.high, turn.low + 6.0);
  EXPECT_LT(turn.harmonics, kToneHarmonicsAtMost);
}

TEST_F(KnobIdentity, GainDrivesTheClippingHarder) {
  EXPECT_EQ(nameOf(1), "Gain");
  const Turn turn = turning(1, 0.0f, 1.0f);
  EXPECT_GT(turn.harmonics, 5.0);
  EXPECT_GT(turn.low, 6.0);
}

TEST_F(KnobIdentity, LevelChangesTheLoudnessAlone) {
  EXPECT_EQ(nameOf(5), "Level");
  const Turn turn = turning(5, 0.25f, 1.0f);
  EXPECT_GT(turn.mid, 6.0);
  EXPECT_NEAR(turn.low, turn.mid, 0.1);
  EXPECT_NEAR(turn.high, turn.mid, 0.1);
  EXPECT_NEAR(turn.harmonics, 1.0, 0.01);
}

}  // namespace
