// The built-in demonstration: a few seconds of a guitar riff as it comes
// straight from the instrument's jack, single notes then a strummed chord.
#pragma once

#include <vector>

namespace guitar {

constexpr int kRiffSampleRate = 44100;

// Mono samples at sampleRate, peaking at half of full scale; the same on
// every run and every machine.
std::vector<float> synthesizeRiff(int sampleRate = kRiffSampleRate);

}  // namespace guitar
