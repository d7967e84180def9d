// How far rendered audio went beyond full scale, where a file of whole-number
// samples has to clip it.
#pragma once

#include <cstddef>

namespace render {

class ClippingMeter {
 public:
  void measure(const float* samples, std::size_t count);

  // Samples beyond full scale, either way.
  long long clippedSamples() const { return clipped; }
  // The largest magnitude met, in dB relative to full scale.
  double peakDecibels() const;

 private:
  long long clipped = 0;
  float peak = 0.0f;
};

}  // namespace render
