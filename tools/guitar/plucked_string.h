// A plucked guitar string by Karplus-Strong synthesis: a noise burst shaped
// like a pick's attack circulates in a delay line one period long, losing a
// little of its highs on every pass through a two-point average.
#pragma once

#include <cstdint>
#include <vector>

namespace guitar {

struct Pluck {
  double frequency;    // Hz
  double sampleRate;   // Hz
  double strength;     // peak of the attack, 0 to 1
  double ringSeconds;  // time for the string to fall by 60 dB when left ringing
  std::uint32_t seed;  // the same seed gives the same pluck
};

class PluckedString {
 public:
  explicit PluckedString(const Pluck& pluck);

  double next();
  // The fretting hand lifts off: the string dies away within a few hundredths
  // of a second.
  void mute();

 private:
  double loopGainFor(double seconds) const;

  double frequency;
  std::vector<double> delayLine;
  std::size_t position = 0;
  double loopGain;
  double tuning;  // first-order allpass coefficient for the fraction of a sample
  double previousOut = 0.0;
  double allpassIn = 0.0;
  double allpassOut = 0.0;
};

}  // namespace guitar
