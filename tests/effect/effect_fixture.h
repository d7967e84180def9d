// Shared pieces of the effect suites: a test signal and block processing.
#pragma once

#include <cmath>
#include <numbers>
#include <vector>

#include "formats/vst2/murkfell_effect.h"

// A 220 Hz tone with a few harmonics and a decay, loud enough to clip.
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

inline std::vector<float> processed(MurkfellEffect& effect, const std::vector<float>& input) {
  std::vector<float> in = input;
  std::vector<float> out(input.size());
  float* inputs[] = {in.data()};
  float* outputs[] = {out.data()};
  effect.processReplacing(inputs, outputs, static_cast<VstInt32>(in.size()));
  return out;
}
