// Samples a broken host or an upstream plug-in may send: NaN, infinities and
// values far beyond full scale. The pedal answers with finite output, forgets
// a non-finite sample completely, and pays no more for such input than for a
// guitar (a stalled audio thread drops out the whole mix).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "core/parameters.h"
#include "formats/vst2/murkfell_effect.h"
#include "tests/robustness/peak_bound.h"
#include "tests/support/thread_seconds.h"
#include "tools/guitar/repeated_plucks.h"

namespace {

using namespace murkfell;

using Limits = std::numeric_limits<float>;

std::vector<float> guitar(int frames, float amplitude = 0.5f) {
  guitar::RepeatedPlucks string(44100.0, amplitude);
  std::vector<float> samples(frames);
  for (float& sample : samples) sample = string.next();
  return samples;
}

std::vector<float> process(MurkfellEffect& effect, std::vector<float> samples) {
  float* channels[] = {samples.data()};
  AEffect* block = effect.getAeffect();
  block->processReplacing(block, channels, channels, static_cast<VstInt32>(samples.size()));
  return samples;
}

// Processor time of one block, the least of a few tries against interference.
double cheapestProcessing(MurkfellEffect& effect, const std::vector<float>& samples) {
  double cheapest = std::numeric_limits<double>::infinity();
  for (int attempt = 0; attempt < 3; ++attempt) {
    const double start = threadSeconds();
    process(effect, samples);
    cheapest = std::min(cheapest, threadSeconds() - start);
  }
  return cheapest;
}

TEST(HostileInput, ANonFiniteSampleLeavesNoTrace) {
  // The circuit drops a non-finite result and restarts from rest, so what
  // follows comes out exactly as from a fresh instance.
  const std::vector<float> after = guitar(3000);
  for (float hostile : {Limits::quiet_NaN(), Limits::infinity(), -Limits::infinity()}) {
    SCOPED_TRACE(hostile);
    std::vector<float> sent = guitar(700, 1.0f);
    const auto hostileAt = static_cast<long>(sent.size());
    sent.push_back(hostile);
    sent.insert(sent.end(), after.begin(), after.end());

    auto played = std::make_unique<MurkfellEffect>(nullptr);
    const std::vector<float> heard = process(*played, sent);
    auto fresh = std::make_unique<MurkfellEffect>(nullptr);
    const std::vector<float> freshHeard = process(*fresh, after);

    EXPECT_EQ(heard[hostileAt], 0.0f);
    EXPECT_TRUE(std::equal(heard.begin() + hostileAt + 1, heard.end(), freshHeard.begin()));
    EXPECT_TRUE(std::all_of(heard.begin(), heard.end(), [](float s) { return std::isfinite(s); }));
  }
}

TEST(HostileInput, HugeFiniteSamplesGiveBoundedOutput) {
  const float huge[] = {Limits::max(), Limits::lowest(), 1e30f, -1e30f, 1e6f, -1e6f};
  std::vector<float> sent(8192);
  for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = huge[(i / 37) % std::size(huge)];
  auto effect = std::make_unique<MurkfellEffect>(nullptr);
  effect->setParameter(kLevel, 1.0f);
  const std::vector<float> heard = process(*effect, sent);
  for (float sample : heard) {
    ASSERT_TRUE(std::isfinite(sample));
    ASSERT_LE(std::fabs(sample), kPeakBound);
  }
}

// Found by the host-call fuzzer as inputs of a few calls running for seconds:
// every non-finite sample made the loop recompute up to 256 samples.
TEST(HostileInput, NonFiniteBlocksCostNoMoreThanAGuitar) {
  constexpr int kFrames = 1024;
  auto effect = std::make_unique<MurkfellEffect>(nullptr);
  const double guitarCost = cheapestProcessing(*effect, guitar(kFrames));
  for (float hostile : {Limits::quiet_NaN(), Limits::infinity()}) {
    SCOPED_TRACE(hostile);
    const double hostileCost = cheapestProcessing(*effect, std::vector<float>(kFrames, hostile));
    std::printf("%d frames: guitar %.3f ms, all %g %.3f ms\n", kFrames, 1e3 * guitarCost, hostile,
                1e3 * hostileCost);
    EXPECT_LE(hostileCost, 4.0 * guitarCost);
  }
}

}  // namespace
