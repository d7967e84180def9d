// Reading and writing whole sound files for the renderer's tests.
#pragma once

#include <sndfile.h>

#include <filesystem>
#include <vector>

struct Sound {
  SF_INFO info{};
  std::vector<float> samples;  // interleaved
};

void writeSound(const std::filesystem::path& path, int sampleRate, int channels, int format,
                const std::vector<float>& interleaved);
Sound readSound(const std::filesystem::path& path);

// A deterministic test signal: a different tone and noise per channel.
std::vector<float> testSignal(int frames, int channels, int sampleRate);

// One channel out of interleaved samples.
std::vector<float> channelOf(const std::vector<float>& interleaved, int channels, int channel);
