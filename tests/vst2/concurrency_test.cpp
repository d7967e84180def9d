// Parameters, the sample rate and suspend/resume changed from other threads
// while blocks are processed: run under ThreadSanitizer this proves the
// hand-over race-free.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>

#include "tests/vst2/effect_fixture.h"

namespace {

using namespace murkfell;

TEST(Concurrency, WritersNeverDisturbTheAudioThread) {
  MurkfellEffect effect{nullptr};
  std::atomic<bool> writing{true};
  std::atomic<long> nonFinite{0};
  std::atomic<long> blocks{0};

  std::thread audio([&] {
    std::vector<float> input = guitarLikeSignal(256);
    std::vector<float> output(input.size());
    float* inputs[] = {input.data()};
    float* outputs[] = {output.data()};
    while (writing.load()) {
      effect.processReplacing(inputs, outputs, 256);
      for (float sample : output) {
        if (!std::isfinite(sample)) {
          nonFinite.fetch_add(1);
        }
      }
      blocks.fetch_add(1);
    }
  });

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  auto writer = [&](unsigned seed, bool changesRate) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> knob(0.0f, 1.0f);
    const float rates[] = {44100.0f, 48000.0f, 96000.0f};
    for (long change = 0; std::chrono::steady_clock::now() < deadline; ++change) {
      const auto index = static_cast<VstInt32>(random() % kNumParameters);
      effect.setParameter(index,
                          index >= kCabSim ? static_cast<float>(random() % 2) : knob(random));
      if (changesRate && change % 1000 == 0) {
        effect.setSampleRate(rates[random() % 3]);
      }
      if (changesRate && change % 700 == 0) {  // a restart handed to the audio thread
        effect.dispatcher(effMainsChanged, 0, 0, nullptr, 0.0f);
        effect.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
      }
      effect.getParameter(index);
    }
  };
  std::thread first(writer, 1u, true);
  std::thread second(writer, 2u, false);
  first.join();
  second.join();
  while (blocks.load() < 10) {
    std::this_thread::yield();
  }
  writing = false;
  audio.join();

  EXPECT_EQ(nonFinite.load(), 0);

  // Once the writers are done and the knobs have glided to their last values
  // (10 ms), the effect runs on exactly the sets a fresh instance designs
  // from the final values.
  MurkfellEffect fresh{nullptr};
  fresh.setSampleRate(effect.getSampleRate());
  for (VstInt32 index = 0; index < kNumParameters; ++index) {
    fresh.setParameter(index, effect.getParameter(index));
  }
  processed(effect, std::vector<float>(static_cast<std::size_t>(effect.getSampleRate() / 50)));
  processed(fresh, std::vector<float>(1, 0.0f));
  EXPECT_TRUE(effect.pedal().circuitState().coefficients ==
              fresh.pedal().circuitState().coefficients);
}

}  // namespace
