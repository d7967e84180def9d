// The shipped loop against the plain sample-by-sample evaluation: random
// knobs, rates, block sizes, switches and parameter changes between blocks
// (designed plainly or retuned on the running circuit) must give the same
// output bits on every vector unit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/circuit/audio_taper.h"
#include "core/circuit/coefficient_design.h"
#include "core/circuit/knob_retune.h"
#include "core/circuit/process_block.h"
#include "reference_circuit.h"
#include "tools/guitar/repeated_plucks.h"

namespace murkfell {
namespace {

struct Session {
  explicit Session(std::uint64_t seed) : random(seed) {}

  std::mt19937_64 random;
  float rate = 44100.0f;
  KnobSettings knobs;
  SignalSettings settings{};

  float uniform(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
  }
  bool chance(double p) { return std::bernoulli_distribution(p)(random); }

  void randomise(CircuitState& fast, CircuitState& plain, bool rateMayChange) {
    static constexpr float rates[] = {22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f};
    if (rateMayChange && chance(0.3)) {
      rate = rates[random() % 6];
      knobs = {uniform(0, 1), uniform(0, 1), uniform(0, 1), uniform(0, 1)};
      recomputeCoefficients(fast, rate, oversamplingFor(rate), knobs);
    } else if (chance(0.5)) {
      KnobSettings next = knobs;
      next.gain = uniform(-0.1f, 1.1f);
      next.treble = uniform(0, 1);
      if (chance(0.5)) {  // a turn on the running circuit rewrites histories in both
        retuneKnobs(fast, rate, knobs, next);
        retuneKnobs(plain, rate, knobs, next);
      } else {
        designGainStage(fast, rate, next.gain);
        designToneStack(fast, rate, next.bass, next.middle, next.treble);
      }
      knobs = next;
    }
    if (chance(0.1)) silenceSections(fast.coefficients);
    plain.coefficients = fast.coefficients;
    settings.levelGain = levelGainFor(uniform(0, 1));
    settings.cabSimOn = chance(0.7) ? 1 : 0;
    settings.bypassOn = chance(0.1) ? 1 : 0;
    settings.oversampling = oversamplingFor(rate);
  }

  // Coefficient sets no design makes: sections whose inputs stop reaching
  // their outputs, so that their tails decay into every flush rule.
  void silenceSections(CircuitCoefficients& c) {
    const auto mute = [this](auto& section) {
      if (chance(0.5)) section.b.fill(0.0);
    };
    mute(c.aa), mute(c.gain), mute(c.coupling), mute(c.smoothLp), mute(c.tone);
    mute(c.cabHp), mute(c.cabLp1), mute(c.cabLp2), mute(c.output), mute(c.inputHp);
  }

  std::vector<float> signal(int frames) {
    guitar::RepeatedPlucks source(rate, uniform(0.001f, 1.5f));
    for (int skip = random() % 20000; skip > 0; --skip) source.next();
    std::vector<float> samples(frames);
    const bool quiet = chance(0.15);  // long enough silences reach the flush rule
    for (float& sample : samples) sample = quiet ? 0.0f : source.next();
    if (chance(0.05)) samples[random() % frames] = std::numeric_limits<float>::quiet_NaN();
    if (chance(0.05)) samples[random() % frames] = std::numeric_limits<float>::infinity();
    return samples;
  }
};

// Every history value equal, zeros of either sign and NaNs of any payload
// counting as the same; the output rounds double differences away, the
// histories do not.
bool sameHistories(const CircuitHistories& a, const CircuitHistories& b) {
  static_assert(sizeof(CircuitHistories) % sizeof(double) == 0);
  constexpr std::size_t count = sizeof(CircuitHistories) / sizeof(double);
  double left[count], right[count];
  std::memcpy(left, &a, sizeof a);
  std::memcpy(right, &b, sizeof b);
  for (std::size_t i = 0; i < count; ++i)
    if (!(left[i] == right[i] || (std::isnan(left[i]) && std::isnan(right[i])))) return false;
  return true;
}

void expectSameRun(VectorUnit unit, std::uint64_t seed) {
  Session session(seed);
  CircuitState fast{}, plain{};
  resetToStartingValues(fast);
  resetToStartingValues(plain);
  recomputeCoefficients(fast, session.rate, oversamplingFor(session.rate), {});
  plain.coefficients = fast.coefficients;
  for (int block = 0; block < 40; ++block) {
    session.randomise(fast, plain, block > 0);
    static constexpr int sizes[] = {1, 2, 3, 4, 5, 64, 511, 512, 513, 1500, 4096};
    const int frames = sizes[session.random() % 11];
    const std::vector<float> input = session.signal(frames);
    std::vector<float> expected(frames), actual = input;
    reference::processBlock(plain, session.settings, input.data(), expected.data(), frames);
    processBlockOn(unit, fast, session.settings, actual.data(), actual.data(), frames);
    for (int i = 0; i < frames; ++i)
      ASSERT_EQ(std::bit_cast<std::uint32_t>(actual[i]), std::bit_cast<std::uint32_t>(expected[i]))
          << "seed " << seed << ", block " << block << " of " << frames << ", sample " << i;
    ASSERT_TRUE(sameHistories(fast.histories, plain.histories))
        << "seed " << seed << ", after block " << block;
  }
}

class EveryUnit : public testing::TestWithParam<VectorUnit> {};

TEST_P(EveryUnit, LoopMatchesThePlainEvaluation) {
  if (!isAvailable(GetParam()))
    GTEST_SKIP() << nameOf(GetParam()) << " cannot run on this machine: not tested here";
  for (std::uint64_t seed = 1; seed <= 12; ++seed) expectSameRun(GetParam(), seed);
}

INSTANTIATE_TEST_SUITE_P(Equivalence, EveryUnit, testing::ValuesIn(allVectorUnits),
                         [](const auto& info) { return std::string(nameOf(info.param)); });

// Histories full of values at and around the flush bound, decaying on their
// own (no input reaches any output), stepped with few sub-samples so the
// pipelined lanes meet them too: every flush rule must decide alike.
TEST(Equivalence, NearSilentStatesFlushAlike) {
  static constexpr double values[] = {0.0, 4e-16, -9e-16, 1e-15, -1e-15, 3e-15, -2e-15};
  static constexpr double feedback[] = {0.0, 0.5, -0.25, 0.9};
  std::mt19937_64 random(99);
  const auto pick = [&random](const auto& set) {
    return set[random() % (sizeof set / sizeof set[0])];
  };
  for (int trial = 0; trial < 3000; ++trial) {
    CircuitState plain{};
    const auto craft = [&](auto& coefficients, auto& history) {
      coefficients.b.fill(0.0);
      for (double& a : coefficients.a) a = pick(feedback);
      for (double& y : history.y) y = pick(values);
    };
    CircuitCoefficients& c = plain.coefficients;
    CircuitHistories& h = plain.histories;
    craft(c.inputHp, h.inputHp), craft(c.gain, h.gain), craft(c.smoothLp, h.smoothLp);
    craft(c.coupling, h.coupling), craft(c.tone, h.tone), craft(c.output, h.output);
    craft(c.cabHp, h.cabHp), craft(c.cabLp1, h.cabLp1), craft(c.cabLp2, h.cabLp2);
    craft(c.aa, h.upAa), craft(c.aa, h.shaperAa), craft(c.aa, h.downAa);
    CircuitState fast = plain;
    const SignalSettings settings{1.0f, 1, 0, 1 + static_cast<int>(random() % 3)};
    const std::vector<float> input(6 + random() % 5, 0.0f);
    std::vector<float> expected(input.size()), actual(input.size());
    const int frames = static_cast<int>(input.size());
    reference::processBlock(plain, settings, input.data(), expected.data(), frames);
    processBlock(fast, settings, input.data(), actual.data(), frames);
    ASSERT_EQ(actual, expected) << "trial " << trial;
    ASSERT_TRUE(sameHistories(fast.histories, plain.histories)) << "trial " << trial;
  }
}

}  // namespace
}  // namespace murkfell
