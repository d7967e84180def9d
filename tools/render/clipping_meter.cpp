#include "tools/render/clipping_meter.h"

#include <algorithm>
#include <cmath>

namespace render {

void ClippingMeter::measure(const float* samples, std::size_t count) {
  for (std::size_t at = 0; at < count; ++at) {
    const float magnitude = std::abs(samples[at]);
    clipped += magnitude > 1.0f;
    peak = std::max(peak, magnitude);
  }
}

double ClippingMeter::peakDecibels() const { return 20.0 * std::log10(static_cast<double>(peak)); }

}  // namespace render
