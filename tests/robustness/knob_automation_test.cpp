// Knob automation while a guitar plays: a host may jump any knob from one end
// to the other between two blocks. The output must stay within the pedal's
// peak bound; a thump far beyond full scale reaches the listener unlimited.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "bench/plucked_string.h"
#include "effect/murkfell_effect.h"
#include "effect/parameter_ids.h"
#include "tests/robustness/peak_bound.h"

namespace {

constexpr int kBlock = 512;

// Peak output while `knob` jumps between 0 and 1 every block for five seconds
// of a loud guitar, everything else at its default and Level at 1.
float peakWhileJumping(VstInt32 knob, float sampleRate) {
  auto effect = std::make_unique<MurkfellEffect>(nullptr);
  effect->setSampleRate(sampleRate);
  effect->setParameter(kLevel, 1.0f);
  murkfell::PluckedString guitar(sampleRate, 1.0f);
  std::vector<float> samples(kBlock);
  float* channels[] = {samples.data()};
  float peak = 0.0f;
  const long blocks = static_cast<long>(5 * sampleRate) / kBlock;
  for (long block = 0; block < blocks; ++block) {
    effect->setParameter(knob, static_cast<float>(block % 2));
    std::generate(samples.begin(), samples.end(), [&] { return guitar.next(); });
    effect->processReplacing(channels, channels, kBlock);
    for (float sample : samples) peak = std::max(peak, std::fabs(sample));
  }
  return peak;
}

TEST(KnobAutomation, JumpsOfAnyKnobStayWithinThePeakBound) {
  const char* names[] = {"", "Gain", "Bass", "Middle", "Treble", "Level"};
  for (float rate : {44100.0f, 96000.0f}) {
    for (VstInt32 knob = kGain; knob <= kLevel; ++knob) {
      SCOPED_TRACE(testing::Message() << names[knob] << " at " << rate << " Hz");
      const float peak = peakWhileJumping(knob, rate);
      std::printf("%s jumping at %.0f Hz: peak %.3f\n", names[knob], rate, peak);
      EXPECT_LE(peak, kPeakBound);
    }
  }
}

}  // namespace
