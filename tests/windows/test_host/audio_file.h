// Mono sound files for the test host: WAV (PCM of 16, 24 or 32 bits, or 32-bit
// float) or raw 32-bit little-endian float samples, chosen by the ".wav"
// ending. Results are always 32-bit float, so no sample is rounded on the way
// out.
#pragma once

#include <string>
#include <vector>

struct MonoSound {
  std::vector<float> samples;
  float sampleRate = 44100.0f;
};

// Throws std::runtime_error for files it cannot read; a raw file takes
// `rawRate` as its rate.
MonoSound readSound(const std::string& path, float rawRate);
void writeSound(const std::string& path, const MonoSound& sound);
