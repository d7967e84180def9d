#include "tools/guitar/plucked_string.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace guitar {
namespace {

constexpr double kMutedRingSeconds = 0.06;
constexpr double kPickPosition = 0.13;  // fraction of the string from the bridge
constexpr double kPickSoftness = 0.35;  // one-pole smoothing of the attack noise

// A small deterministic generator; the riff must come out the same everywhere.
class NoiseSource {
 public:
  explicit NoiseSource(std::uint32_t seed) : state(seed * 2654435761u + 1u) {}
  double next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / static_cast<double>(1u << 23) - 1.0;
  }

 private:
  std::uint32_t state;
};

}  // namespace

PluckedString::PluckedString(const Pluck& pluck) : frequency(pluck.frequency) {
  // The loop delays by the line's length, half a sample in the average and the
  // allpass's fraction, which is kept between 0.5 and 1.5 where it is accurate.
  const double period = pluck.sampleRate / pluck.frequency;
  const auto length = static_cast<std::size_t>(std::floor(period - 1.0));
  const double fraction = period - 0.5 - static_cast<double>(length);
  tuning = (1.0 - fraction) / (1.0 + fraction);
  loopGain = loopGainFor(pluck.ringSeconds);

  delayLine.resize(length);
  NoiseSource noise(pluck.seed);
  double smoothed = 0.0;
  for (double& sample : delayLine) {
    smoothed += (1.0 - kPickSoftness) * (noise.next() - smoothed);
    sample = smoothed;
  }
  // Plucking near the bridge cancels the harmonics with a node at the pick.
  const auto pickOffset = static_cast<std::size_t>(kPickPosition * static_cast<double>(length));
  for (std::size_t at = length; pickOffset > 0 && at-- > pickOffset;) {
    delayLine[at] -= delayLine[at - pickOffset];
  }
  const double mean = std::accumulate(delayLine.begin(), delayLine.end(), 0.0) / length;
  double peak = 0.0;
  for (double& sample : delayLine) {
    sample -= mean;
    peak = std::max(peak, std::abs(sample));
  }
  for (double& sample : delayLine) {
    sample *= pluck.strength / peak;
  }
}

double PluckedString::loopGainFor(double seconds) const {
  return std::pow(0.001, 1.0 / (seconds * frequency));
}

double PluckedString::next() {
  const double out = delayLine[position];
  const double averaged = loopGain * 0.5 * (out + previousOut);
  previousOut = out;
  allpassOut = tuning * averaged + allpassIn - tuning * allpassOut;
  allpassIn = averaged;
  delayLine[position] = allpassOut;
  position = (position + 1) % delayLine.size();
  return out;
}

void PluckedString::mute() { loopGain = loopGainFor(kMutedRingSeconds); }

}  // namespace guitar
