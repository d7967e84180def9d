#include "tests/tools/sound_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

void writeSound(const std::filesystem::path& path, int sampleRate, int channels, int format,
                const std::vector<float>& interleaved) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(interleaved.size() / channels));
  sf_close(file);
}

Sound readSound(const std::filesystem::path& path) {
  Sound sound;
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sound.info);
  if (file == nullptr) {
    ADD_FAILURE() << "cannot read " << path << ": " << sf_strerror(nullptr);
    return sound;
  }
  sound.samples.resize(static_cast<std::size_t>(sound.info.frames) * sound.info.channels);
  sf_readf_float(file, sound.samples.data(), sound.info.frames);
  sf_close(file);
  return sound;
}

std::vector<float> testSignal(int frames, int channels, int sampleRate) {
  std::vector<float> samples(static_cast<std::size_t>(frames) * channels);
  std::uint32_t noise = 12345;
  for (int frame = 0; frame < frames; ++frame) {
    for (int channel = 0; channel < channels; ++channel) {
      noise = noise * 1664525u + 1013904223u;
      const double tone = std::sin(2.0 * M_PI * 110.0 * (channel + 1) * frame / sampleRate);
      const double hiss = static_cast<double>(noise >> 8) / (1u << 24) - 0.5;
      samples[static_cast<std::size_t>(frame) * channels + channel] =
          static_cast<float>(0.4 * tone + 0.1 * hiss);
    }
  }
  return samples;
}

std::vector<float> channelOf(const std::vector<float>& interleaved, int channels, int channel) {
  std::vector<float> samples;
  for (std::size_t at = channel; at < interleaved.size(); at += channels) {
    samples.push_back(interleaved[at]);
  }
  return samples;
}
