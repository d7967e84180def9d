// The soak: ten minutes of a loud guitar through the pedal at 44.1 and 96 kHz
// (faster than real time), with every parameter automated at random every few
// blocks, as a host plays back a busy automation lane. Every output sample must
// be finite, the peak must stay within a stated bound, and the audio path
// (processing and automation) must never allocate.
//
// The peak bound and its reasoning are in peak_bound.h; with Bypass on the
// output is the input, whose peak here is 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <vector>

#include "core/parameters.h"
#include "formats/vst2/murkfell_effect.h"
#include "tests/robustness/peak_bound.h"
#include "tests/support/allocation_counter.h"
#include "tools/guitar/repeated_plucks.h"

namespace {

using namespace murkfell;

constexpr double kSoakSeconds = MURKFELL_SOAK_SECONDS;
constexpr int kLargestBlock = 2048;

VstIntPtr quietHost(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float) { return 0; }

struct SoakResult {
  float peak = 0.0f;
  long nonFiniteSamples = 0;
  long audioPathAllocations = 0;
  long automationEvents = 0;
};

SoakResult soak(float sampleRate, double seconds, unsigned seed) {
  auto effect = std::make_unique<MurkfellEffect>(quietHost);
  AEffect* block = effect->getAeffect();
  block->dispatcher(block, effMainsChanged, 0, 0, nullptr, 0.0f);
  block->dispatcher(block, effSetSampleRate, 0, 0, nullptr, sampleRate);
  block->dispatcher(block, effSetBlockSize, 0, kLargestBlock, nullptr, 0.0f);
  block->dispatcher(block, effMainsChanged, 0, 1, nullptr, 0.0f);

  guitar::RepeatedPlucks guitar(sampleRate, 1.0f);
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> blockSize(1, kLargestBlock);
  std::uniform_int_distribution<int> blocksBetweenChanges(1, 4);
  std::uniform_real_distribution<float> knob(0.0f, 1.0f);
  std::vector<float> input(kLargestBlock), output(kLargestBlock);
  float* inputs[] = {input.data()};
  float* outputs[] = {output.data()};

  resetAudioPathAllocations();
  SoakResult result;
  const auto totalFrames = static_cast<long>(seconds * sampleRate);
  int blocksUntilChange = 0;
  for (long done = 0; done < totalFrames;) {
    const int frames = static_cast<int>(std::min<long>(blockSize(random), totalFrames - done));
    std::generate_n(input.begin(), frames, [&] { return guitar.next(); });
    if (blocksUntilChange-- == 0) {
      const float knobs[] = {knob(random), knob(random), knob(random), knob(random), knob(random)};
      const float cabSim = static_cast<float>(random() % 2);
      const float bypass = random() % 8 == 0 ? 1.0f : 0.0f;
      AudioPath audioThread;
      for (VstInt32 index = kGain; index <= kLevel; ++index) {
        block->setParameter(block, index, knobs[index - kGain]);
      }
      block->setParameter(block, kCabSim, cabSim);
      block->setParameter(block, kBypass, bypass);
      ++result.automationEvents;
      blocksUntilChange = blocksBetweenChanges(random);
    }
    {
      AudioPath audioThread;
      block->processReplacing(block, inputs, outputs, frames);
    }
    for (int i = 0; i < frames; ++i) {
      if (!std::isfinite(output[i]))
        ++result.nonFiniteSamples;
      else
        result.peak = std::max(result.peak, std::fabs(output[i]));
    }
    done += frames;
  }
  result.audioPathAllocations = audioPathAllocations();
  block->dispatcher(block, effMainsChanged, 0, 0, nullptr, 0.0f);
  return result;
}

class Soak : public testing::TestWithParam<float> {};

TEST_P(Soak, OutputStaysFiniteBoundedAndAllocationFree) {
  const SoakResult result = soak(GetParam(), kSoakSeconds, 20261209u);
  std::printf("soak at %.0f Hz over %.0f s: peak %.4f, %ld automation events\n", GetParam(),
              kSoakSeconds, result.peak, result.automationEvents);
  RecordProperty("peak", std::to_string(result.peak));

  EXPECT_EQ(result.nonFiniteSamples, 0);
  EXPECT_LE(result.peak, kPeakBound);
  // A chain that went silent would pass the two checks above.
  EXPECT_GT(result.peak, 0.1f);
  EXPECT_EQ(result.audioPathAllocations, 0);
  // Automation did happen: on average far more than one change per second.
  EXPECT_GT(result.automationEvents, static_cast<long>(kSoakSeconds));
}

INSTANTIATE_TEST_SUITE_P(Rates, Soak, testing::Values(44100.0f, 96000.0f),
                         [](const auto& info) { return std::to_string(int(info.param)) + "Hz"; });

}  // namespace
