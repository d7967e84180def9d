// Every vector unit this machine has gives the same output through the
// whole effect, in the small blocks where most samples pass through the
// pipeline's fill and drain.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "tests/vst2/effect_fixture.h"
#include "tests/support/forced_vector_unit.h"

namespace {

std::vector<std::uint32_t> outputBits(float rate, int blockSize) {
  MurkfellEffect effect{nullptr};
  effect.setSampleRate(rate);
  const std::vector<float> input = guitarLikeSignal(4096, rate);
  std::vector<std::uint32_t> bits;
  for (std::size_t start = 0; start < input.size(); start += blockSize) {
    const std::vector<float> block(input.begin() + start, input.begin() + start + blockSize);
    for (float sample : processed(effect, block))
      bits.push_back(std::bit_cast<std::uint32_t>(sample));
  }
  return bits;
}

TEST(VectorUnits, EveryUnitSoundsTheSameThroughTheEffect) {
  for (float rate : {44100.0f, 96000.0f}) {
    for (int blockSize : {1, 16, 256}) {
      const std::vector<std::uint32_t> baseline = [&] {
        const ForcedVectorUnit forced(murkfell::VectorUnit::sse2);
        return outputBits(rate, blockSize);
      }();
      for (murkfell::VectorUnit unit : murkfell::allVectorUnits) {
        const ForcedVectorUnit forced(unit);
        if (!forced.available()) continue;  // reported by the circuit suites
        EXPECT_EQ(outputBits(rate, blockSize), baseline)
            << murkfell::nameOf(unit) << ", " << rate << " Hz, blocks of " << blockSize;
      }
    }
  }
}

}  // namespace
