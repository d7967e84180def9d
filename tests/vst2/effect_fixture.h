// Shared pieces of the effect suites: a test signal and block processing.
#pragma once

#include <vector>

#include "formats/vst2/murkfell_effect.h"
#include "tests/support/guitar_like_signal.h"

inline std::vector<float> processed(MurkfellEffect& effect, const std::vector<float>& input) {
  std::vector<float> in = input;
  std::vector<float> out(input.size());
  float* inputs[] = {in.data()};
  float* outputs[] = {out.data()};
  effect.processReplacing(inputs, outputs, static_cast<VstInt32>(in.size()));
  return out;
}
