// A 220 Hz tone with a few harmonics and a decay, loud enough to clip.
#pragma once

#include <cmath>
#include <numbers>
#include <vector>

inline std::vector<float> guitarLikeSignal(int frames, float sampleRate = 44100.0f) {
  std::vector<float> signal(frames);
  for (int i = 0; i < frames; ++i) {
    const double t = i / static_cast<double>(sampleRate);
    double value = 0.0;
    for (int harmonic = 1; harmonic <= 5; ++harmonic) {
      value += std::sin(2.0 * std::numbers::pi * 220.0 * harmonic * t) / harmonic;
    }
    signal[i] = static_cast<float>(0.3 * value * std::exp(-2.0 * t));
  }
  return signal;
}
