// Knob automation while a guitar plays: a host may jump any knob from one end
// to the other between two blocks, every block. The knobs glide there with
// the capacitors keeping their charge, so the output stays within the pedal's
// steady peak bound throughout, and within it once the knob holds still.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "core/parameters.h"
#include "formats/vst2/murkfell_effect.h"
#include "tests/robustness/peak_bound.h"
#include "tools/guitar/repeated_plucks.h"

namespace {

using namespace murkfell;

constexpr int kBlock = 512;

struct Peaks {
  float whileJumping = 0.0f;
  float afterSettling = 0.0f;  // from 0.2 s after the last jump on
};

// Peak output while `knob` jumps between 0 and 1 every block for five seconds
// of a loud guitar, everything else at its default and Level at 1, and the
// peak once the knob has held still for 0.2 s.
Peaks peaksOfJumping(VstInt32 knob, float sampleRate) {
  auto effect = std::make_unique<MurkfellEffect>(nullptr);
  effect->setSampleRate(sampleRate);
  effect->setParameter(kLevel, 1.0f);
  guitar::RepeatedPlucks guitar(sampleRate, 1.0f);
  std::vector<float> samples(kBlock);
  float* channels[] = {samples.data()};
  Peaks peaks;
  const long jumping = static_cast<long>(5 * sampleRate) / kBlock;
  const long settling = static_cast<long>(0.2 * sampleRate) / kBlock;
  const long still = static_cast<long>(2 * sampleRate) / kBlock;
  for (long block = 0; block < jumping + settling + still; ++block) {
    if (block < jumping) {
      effect->setParameter(knob, static_cast<float>(block % 2));
    } else if (block == jumping) {
      effect->setParameter(knob, knob == kLevel ? 1.0f : 0.5f);  // one last, ordinary turn
    }
    std::generate(samples.begin(), samples.end(), [&] { return guitar.next(); });
    effect->processReplacing(channels, channels, kBlock);
    float& peak = block < jumping ? peaks.whileJumping : peaks.afterSettling;
    for (float sample : samples) {
      if (block < jumping || block >= jumping + settling) peak = std::max(peak, std::fabs(sample));
    }
  }
  return peaks;
}

TEST(KnobAutomation, JumpsStayBoundedAndDieAway) {
  const char* names[] = {"", "Gain", "Bass", "Middle", "Treble", "Level"};
  for (float rate : {44100.0f, 96000.0f}) {
    for (VstInt32 knob = kGain; knob <= kLevel; ++knob) {
      SCOPED_TRACE(testing::Message() << names[knob] << " at " << rate << " Hz");
      const Peaks peaks = peaksOfJumping(knob, rate);
      std::printf("%s jumping at %.0f Hz: peak %.3f, after settling %.3f\n", names[knob], rate,
                  peaks.whileJumping, peaks.afterSettling);
      EXPECT_LE(peaks.whileJumping, kPeakBound);
      EXPECT_LE(peaks.afterSettling, kPeakBound);
      EXPECT_GT(peaks.afterSettling, 0.1f) << "the guitar still sounds";
    }
  }
}

}  // namespace
