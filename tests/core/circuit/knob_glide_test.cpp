// The glide that carries knob changes to a running circuit.
#include "core/circuit/knob_glide.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/circuit/coefficient_design.h"
#include "core/circuit/process_block.h"
#include "tools/guitar/repeated_plucks.h"

namespace murkfell {
namespace {

constexpr float kRate = 48000.0f;
const SignalSettings kSettings{0.5f, 1, 0, 12};

CircuitState designedFor(const KnobSettings& knobs) {
  CircuitState state{};
  resetToStartingValues(state);
  recomputeCoefficients(state, kRate, kSettings.oversampling, knobs);
  return state;
}

std::vector<float> guitar(int frames) {
  guitar::RepeatedPlucks string(kRate, 0.5f);
  std::vector<float> samples(frames);
  for (float& sample : samples) sample = string.next();
  return samples;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::bit_cast<std::uint32_t>(a[i]) != std::bit_cast<std::uint32_t>(b[i])) return false;
  return true;
}

// Plays `input` in blocks of `blockSize` (a divisor of 1000), asking for
// `target` from sample 1000 on.
std::vector<float> played(const std::vector<float>& input, int blockSize,
                          const KnobSettings& target) {
  CircuitState state = designedFor({});
  KnobGlide glide;
  glide.settle({});
  std::vector<float> output(input.size());
  for (int done = 0; done < static_cast<int>(input.size()); done += blockSize) {
    if (done >= 1000) glide.glideTo(target, kRate);
    const int frames = std::min(blockSize, static_cast<int>(input.size()) - done);
    glide.process(state, kRate, kSettings, input.data() + done, output.data() + done, frames);
  }
  return output;
}

TEST(KnobGlide, StillKnobsLeaveTheBlockToTheLoop) {
  const std::vector<float> input = guitar(3000);
  CircuitState viaGlide = designedFor({0.3f, 0.6f, 0.2f, 0.9f});
  CircuitState direct = viaGlide;
  KnobGlide glide;
  glide.settle({0.3f, 0.6f, 0.2f, 0.9f});
  glide.glideTo({0.3f, 0.6f, 0.2f, 0.9f}, kRate);
  EXPECT_FALSE(glide.gliding());
  std::vector<float> expected(input.size()), actual(input.size());
  processBlock(direct, kSettings, input.data(), expected.data(), 3000);
  glide.process(viaGlide, kRate, kSettings, input.data(), actual.data(), 3000);
  EXPECT_TRUE(sameBits(actual, expected));
  EXPECT_TRUE(viaGlide.histories == direct.histories);
}

TEST(KnobGlide, ArrivesWithinTheGlideTimeAndHolds) {
  const KnobSettings target{0.9f, 0.5f, 0.5f, 0.1f};
  CircuitState state = designedFor({});
  KnobGlide glide;
  glide.settle({});
  glide.glideTo(target, kRate);
  const std::vector<float> input = guitar(1000);
  std::vector<float> output(input.size());
  const int halfway = static_cast<int>(KnobGlide::glideSeconds * kRate / 2);
  glide.process(state, kRate, kSettings, input.data(), output.data(), halfway);
  EXPECT_TRUE(glide.gliding());
  EXPECT_GT(glide.positions().gain, 0.5f);
  EXPECT_LT(glide.positions().gain, 0.9f);
  EXPECT_LT(glide.positions().treble, 0.5f);
  EXPECT_GT(glide.positions().treble, 0.1f);
  EXPECT_EQ(glide.positions().bass, 0.5f);

  const int rest =
      static_cast<int>(KnobGlide::glideSeconds * kRate) + KnobGlide::samplesPerRetune - halfway;
  glide.process(state, kRate, kSettings, input.data() + halfway, output.data() + halfway, rest);
  EXPECT_FALSE(glide.gliding());
  EXPECT_EQ(std::bit_cast<std::uint32_t>(glide.positions().gain),
            std::bit_cast<std::uint32_t>(0.9f));
  EXPECT_EQ(glide.positions().treble, 0.1f);
  EXPECT_TRUE(state.coefficients == designedFor(target).coefficients);
}

TEST(KnobGlide, BlockSizesDoNotChangeTheGlide) {
  const std::vector<float> input = guitar(4000);
  const KnobSettings target{0.1f, 1.0f, 0.0f, 1.0f};
  const std::vector<float> reference = played(input, 250, target);
  for (int blockSize : {1, 8, 125, 1000}) {
    EXPECT_TRUE(sameBits(played(input, blockSize, target), reference)) << blockSize;
  }
}

TEST(KnobGlide, ANewTargetStartsFromWhereTheKnobsStand) {
  CircuitState state = designedFor({});
  KnobGlide glide;
  glide.settle({});
  glide.glideTo({0.5f, 0.5f, 0.5f, 1.0f}, kRate);
  const std::vector<float> input = guitar(400);
  std::vector<float> output(input.size());
  glide.process(state, kRate, kSettings, input.data(), output.data(), 200);
  const float reached = glide.positions().treble;
  ASSERT_GT(reached, 0.5f);
  glide.glideTo({0.5f, 0.5f, 0.5f, 0.0f}, kRate);
  glide.process(state, kRate, kSettings, input.data() + 200, output.data() + 200, 1);
  EXPECT_LT(glide.positions().treble, reached);
  EXPECT_GT(glide.positions().treble, reached - 0.2f);
}

}  // namespace
}  // namespace murkfell
