#include "core/circuit/process_block.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "core/circuit/audio_taper.h"
#include "core/circuit/coefficient_design.h"
#include "core/circuit/shaper_curves.h"
#include "tests/support/forced_vector_unit.h"
#include "tools/guitar/repeated_plucks.h"

namespace murkfell {
namespace {

CircuitState freshCircuit(float rate, const KnobSettings& knobs = {}) {
  CircuitState state{};
  resetToStartingValues(state);
  recomputeCoefficients(state, rate, oversamplingFor(rate), knobs);
  return state;
}

SignalSettings defaultSettings(float rate) {
  return {levelGainFor(0.5f), 1, 0, oversamplingFor(rate)};
}

std::vector<float> sine(double hz, double amplitude, int frames, double rate = 44100.0) {
  std::vector<float> samples(frames);
  for (int i = 0; i < frames; ++i)
    samples[i] = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * i / rate));
  return samples;
}

std::vector<float> pluckedString(double rate, int frames) {
  guitar::RepeatedPlucks source(rate);
  std::vector<float> samples(frames);
  for (float& sample : samples) sample = source.next();
  return samples;
}

std::vector<float> processed(CircuitState& state, const SignalSettings& settings,
                             const std::vector<float>& input) {
  std::vector<float> output(input.size());
  processBlock(state, settings, input.data(), output.data(), static_cast<int>(input.size()));
  return output;
}

bool sameBits(const CircuitCoefficients& a, const CircuitCoefficients& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::bit_cast<std::uint32_t>(a[i]) != std::bit_cast<std::uint32_t>(b[i])) return false;
  return true;
}

TEST(ProcessBlock, SettledSinePeaksMatchTheWholeChainReference) {
  struct Reference {
    double amplitude;
    int cabSimOn;
    double peak;
  };
  const Reference references[] = {{0.01, 1, 0.1266}, {0.1, 1, 0.2969}, {0.5, 1, 0.3054},
                                  {0.01, 0, 0.1252}, {0.1, 0, 0.2431}, {0.5, 0, 0.2523}};
  for (const Reference& reference : references) {
    SCOPED_TRACE(testing::Message() << reference.amplitude << " cab " << reference.cabSimOn);
    CircuitState state = freshCircuit(44100.0f);
    SignalSettings settings = defaultSettings(44100.0f);
    settings.cabSimOn = reference.cabSimOn;
    const std::vector<float> out =
        processed(state, settings, sine(1000, reference.amplitude, 44100));
    double peak = 0, sum = 0;
    for (int i = 22050; i < 44100; ++i) peak = std::max(peak, double(std::abs(out[i])));
    for (int i = 44100 - 4410; i < 44100; ++i) sum += out[i];  // 100 whole periods
    EXPECT_NEAR(peak, reference.peak, 1e-4);
    EXPECT_LT(std::abs(sum / 4410), 1e-5 * reference.peak) << "constant offset";
  }
}

TEST(ProcessBlock, SilenceFromRestStaysQuietAndDecays) {
  CircuitState state = freshCircuit(44100.0f);
  const std::vector<float> out =
      processed(state, defaultSettings(44100.0f), std::vector<float>(88200, 0.0f));
  double early = 0, late = 0;
  for (int i = 0; i < 4410; ++i) early = std::max(early, double(std::abs(out[i])));
  for (int i = 44100; i < 88200; ++i) late = std::max(late, double(std::abs(out[i])));
  EXPECT_LE(early, 0.0015);
  EXPECT_GT(early, 1e-4);  // the upsampler's start-up step is audible, briefly
  EXPECT_LT(late, 1e-6);
}

TEST(ProcessBlock, InternalHandOversOfOneSample) {
  CircuitState state = freshCircuit(44100.0f);
  SignalSettings settings = defaultSettings(44100.0f);
  settings.oversampling = 1;  // one sub-sample keeps every hand-over in the histories
  const float in = 0.5f;
  float out = 0.0f;
  processBlock(state, settings, &in, &out, 1);
  const CircuitHistories& h = state.histories;
  EXPECT_EQ(h.inputHp.x[0], 1.0);  // doubled on the way in
  EXPECT_EQ(h.gain.x[0], h.inputHp.y[0] * double(0.981f) + double(0.0174f));
  EXPECT_EQ(h.upAa.x[0], -h.gain.y[0]);  // the gain network inverts
  EXPECT_EQ(h.shaperAa.x[0], firstShaper(h.upAa.y[0]));
  EXPECT_EQ(h.downAa.x[0], secondShaper(-double(0.039f) - h.coupling.y[0]));
  EXPECT_EQ(h.tone.x[0], h.downAa.y[0]);
  EXPECT_EQ(h.cabHp.x[0], h.tone.y[0]);
  EXPECT_EQ(h.output.x[0], h.cabLp2.y[0] * double(levelGainFor(0.5f)));
  EXPECT_EQ(out, static_cast<float>(h.output.y[0]));
}

TEST(ProcessBlock, LevelCabinetAndBypassNeverTouchACoefficient) {
  CircuitState state = freshCircuit(44100.0f);
  const CircuitCoefficients before = state.coefficients;
  for (int bypass : {0, 1})
    for (int cabinet : {0, 1})
      for (float level : {0.0f, 0.3f, 1.0f}) {
        const SignalSettings settings{levelGainFor(level), cabinet, bypass, 12};
        processed(state, settings, pluckedString(44100.0, 700));
      }
  EXPECT_TRUE(sameBits(state.coefficients, before));
}

TEST(ProcessBlock, BypassCopiesBitsAndFreezesEverything) {
  std::vector<float> input = pluckedString(44100.0, 1000);
  input[3] = std::bit_cast<float>(0x7fc01234u);  // a NaN with a payload
  input[4] = -0.0f;
  input[5] = std::numeric_limits<float>::infinity();
  CircuitState state = freshCircuit(44100.0f);
  processed(state, defaultSettings(44100.0f), pluckedString(44100.0, 300));
  const CircuitHistories before = state.histories;
  SignalSettings bypass = defaultSettings(44100.0f);
  bypass.bypassOn = 1;
  EXPECT_TRUE(sameBits(processed(state, bypass, input), input));
  std::vector<float> inPlace = input;
  processBlock(state, bypass, inPlace.data(), inPlace.data(), 1000);
  EXPECT_TRUE(sameBits(inPlace, input));
  EXPECT_EQ(state.histories, before);

  // The next block comes out as if the bypassed ones never happened.
  CircuitState untouched = state;
  untouched.histories = before;
  const std::vector<float> next = pluckedString(44100.0, 500);
  EXPECT_TRUE(sameBits(processed(state, defaultSettings(44100.0f), next),
                       processed(untouched, defaultSettings(44100.0f), next)));
}

TEST(ProcessBlock, CabinetHistoriesFreezeWhileItIsOff) {
  CircuitState state = freshCircuit(44100.0f);
  processed(state, defaultSettings(44100.0f), pluckedString(44100.0, 2000));
  const CircuitHistories before = state.histories;
  for (int off : {0, 2, -1}) {  // only exactly 1 runs the cabinet
    SignalSettings settings = defaultSettings(44100.0f);
    settings.cabSimOn = off;
    processed(state, settings, pluckedString(44100.0, 500));
    EXPECT_EQ(state.histories.cabHp, before.cabHp);
    EXPECT_EQ(state.histories.cabLp1, before.cabLp1);
    EXPECT_EQ(state.histories.cabLp2, before.cabLp2);
    EXPECT_NE(state.histories.tone, before.tone);
  }
  processed(state, defaultSettings(44100.0f), pluckedString(44100.0, 10));
  EXPECT_NE(state.histories.cabLp2, before.cabLp2);
}

TEST(ProcessBlock, OutputIndependentOfBlockSizeAndBufferAliasing) {
  for (float rate : {44100.0f, 96000.0f}) {
    const std::vector<float> input = pluckedString(rate, 8192);
    CircuitState whole = freshCircuit(rate);
    const std::vector<float> reference = processed(whole, defaultSettings(rate), input);
    for (int blockSize : {1, 7, 64, 512, 4096}) {
      CircuitState state = freshCircuit(rate);
      std::vector<float> buffer = input;  // in place
      for (int start = 0; start < 8192; start += blockSize) {
        const int frames = std::min(blockSize, 8192 - start);
        processBlock(state, defaultSettings(rate), buffer.data() + start, buffer.data() + start,
                     frames);
      }
      EXPECT_TRUE(sameBits(buffer, reference)) << rate << " Hz, blocks of " << blockSize;
      EXPECT_EQ(state.histories, whole.histories);
    }
  }
}

TEST(ProcessBlock, EmptyOrNegativeBlocksTouchNothing) {
  CircuitState state = freshCircuit(44100.0f);
  const CircuitHistories before = state.histories;
  float in = 0.25f, out = 7.0f;
  processBlock(state, defaultSettings(44100.0f), &in, &out, 0);
  processBlock(state, defaultSettings(44100.0f), &in, &out, -5);
  EXPECT_EQ(out, 7.0f);
  EXPECT_EQ(state.histories, before);
}

TEST(ProcessBlock, FactorSevenLeavesTheUpperSubSamplesAlone) {
  CircuitState state = freshCircuit(96000.0f);
  for (int k = 7; k < maxOversampling; ++k) state.histories.overBuffer[k] = 100.0 + k;
  processed(state, defaultSettings(96000.0f), pluckedString(96000.0, 300));
  for (int k = 7; k < maxOversampling; ++k) EXPECT_EQ(state.histories.overBuffer[k], 100.0 + k);
}

TEST(ProcessBlock, NonFiniteOutputRestartsFromRestAndDropsOneSample) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (float poison : {nan, inf, -inf}) {
    SCOPED_TRACE(poison);
    std::vector<float> input = pluckedString(44100.0, 3000);
    input[1000] = poison;
    CircuitState state = freshCircuit(44100.0f);
    const std::vector<float> out = processed(state, defaultSettings(44100.0f), input);
    EXPECT_EQ(out[1000], 0.0f);
    for (float sample : out) EXPECT_TRUE(std::isfinite(sample));

    // From the next sample on, exactly what a circuit at rest produces.
    CircuitState rest = freshCircuit(44100.0f);
    const std::vector<float> tail(input.begin() + 1001, input.end());
    EXPECT_TRUE(sameBits(std::vector<float>(out.begin() + 1001, out.end()),
                         processed(rest, defaultSettings(44100.0f), tail)));
  }
}

// 64-bit FNV-1a over the output bits: any change in the arithmetic shows.
std::uint64_t checksum(const std::vector<float>& samples) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (float sample : samples) {
    std::uint32_t bits = std::bit_cast<std::uint32_t>(sample);
    for (int byte = 0; byte < 4; ++byte, bits >>= 8) {
      hash ^= bits & 0xffu;
      hash *= 0x100000001b3ULL;
    }
  }
  return hash;
}

// Golden output: three seconds of the repeated plucks per case, on every
// vector unit. After an intended change of the arithmetic (or of the test
// signal), take the new values from the failure messages.
class GoldenOutput : public testing::TestWithParam<VectorUnit> {};

TEST_P(GoldenOutput, ChecksumsHold) {
  const ForcedVectorUnit forced(GetParam());
  if (!forced.available())
    GTEST_SKIP() << nameOf(GetParam()) << " cannot run on this machine: not tested here";
  struct Case {
    float rate;
    KnobSettings knobs;
    float level;
    int cabSimOn;
    std::uint64_t expected;
  };
  const Case cases[] = {
      {44100.0f, {}, 0.5f, 1, 0x548dc6a5e1afb3abULL},
      {44100.0f, {0.9f, 0.2f, 0.8f, 0.35f}, 0.8f, 0, 0xe78c94411d0b9748ULL},
      {96000.0f, {}, 0.5f, 1, 0x20031464785ac3d3ULL},
      {96000.0f, {0.9f, 0.2f, 0.8f, 0.35f}, 0.8f, 0, 0xb230f160749a7259ULL},
  };
  for (const Case& c : cases) {
    CircuitState state = freshCircuit(c.rate, c.knobs);
    const SignalSettings settings{levelGainFor(c.level), c.cabSimOn, 0, oversamplingFor(c.rate)};
    const std::uint64_t actual =
        checksum(processed(state, settings, pluckedString(c.rate, static_cast<int>(3 * c.rate))));
    EXPECT_EQ(actual, c.expected) << c.rate << " Hz, gain " << c.knobs.gain << ": 0x" << std::hex
                                  << actual;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryUnit, GoldenOutput, testing::ValuesIn(allVectorUnits),
                         [](const auto& info) { return std::string(nameOf(info.param)); });

}  // namespace
}  // namespace murkfell
