#pragma once

namespace murkfell {

// Largest number of sub-samples per host sample; sizes the sub-sample buffer.
inline constexpr int maxOversampling = 12;

// 12 below a host rate of 50 kHz, 7 from there on (a NaN rate gives 7).
int oversamplingFor(float sampleRate);

}  // namespace murkfell
