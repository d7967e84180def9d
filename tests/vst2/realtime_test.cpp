// The audio thread never allocates: neither while processing nor when a
// host automates parameters from it.
#include <gtest/gtest.h>

#include "tests/support/allocation_counter.h"
#include "tests/vst2/effect_fixture.h"

namespace {

using namespace murkfell;

TEST(RealTime, ProcessingAndAutomationDoNotAllocate) {
  MurkfellEffect effect{nullptr};
  std::vector<float> input = guitarLikeSignal(512);
  std::vector<float> output(input.size());
  float* inputs[] = {input.data()};
  float* outputs[] = {output.data()};
  effect.setSampleRate(48000.0f);

  resetAudioPathAllocations();
  {
    AudioPath audioThread;
    for (int block = 0; block < 64; ++block) {
      effect.setParameter(kGain, 0.01f * block);
      effect.setParameter(kTreble, 1.0f - 0.01f * block);
      effect.setParameter(kLevel, 0.3f);
      effect.setParameter(kBypass, block % 8 == 7 ? 1.0f : 0.0f);
      effect.setParameter(kCabSim, block % 2);
      effect.setParameter(kPageSwitch, block % 3);  // reaches the editor
      effect.processReplacing(inputs, outputs, 512);
    }
  }
  EXPECT_EQ(audioPathAllocations(), 0);
}

TEST(RealTime, TheCounterSeesAllocations) {
  resetAudioPathAllocations();
  void* probe = nullptr;
  {
    AudioPath audioThread;
    probe = ::operator new(16);  // a call, which the compiler may not elide
  }
  ::operator delete(probe);
  EXPECT_EQ(audioPathAllocations(), 1);
}

}  // namespace
