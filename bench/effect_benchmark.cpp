// Speed of the whole effect as a host drives it: MurkfellEffect::processReplacing
// on a plucked-string signal in blocks of 512 with the default parameters, and
// with two knobs automated.
// Run from the build directory: bench/murkfell_effect_bench
// Counters as in circuit_benchmark.cpp: ns_per_sample (shown as "s", read ns)
// and realtime_factor (seconds of audio per second of one core).
#include <benchmark/benchmark.h>

#include "bench/block_benchmark.h"
#include "formats/vst2/murkfell_effect.h"

namespace {

constexpr int blockSize = 512;

void processReplacingAtRate(benchmark::State& state) {
  const float rate = static_cast<float>(state.range(0));
  MurkfellEffect effect(nullptr);
  effect.setSampleRate(rate);

  measureBlocks(state, rate, blockSize, [&](float* input, float* output) {
    float* inputs[] = {input};
    float* outputs[] = {output};
    effect.processReplacing(inputs, outputs, blockSize);
  });
}
BENCHMARK(processReplacingAtRate)->Arg(44100)->Arg(48000)->Arg(88200)->Arg(96000)->Arg(192000);

// The same while the host automates Treble and Gain with a new value every
// block, so that the knobs glide all the time.
void processReplacingWhileTurning(benchmark::State& state) {
  const float rate = static_cast<float>(state.range(0));
  MurkfellEffect effect(nullptr);
  effect.setSampleRate(rate);
  long block = 0;
  measureBlocks(state, rate, blockSize, [&](float* input, float* output) {
    const float position = static_cast<float>(block++ % 100) / 100.0f;
    effect.setParameter(kTreble, position);
    effect.setParameter(kGain, 1.0f - position);
    float* inputs[] = {input};
    float* outputs[] = {output};
    effect.processReplacing(inputs, outputs, blockSize);
  });
}
BENCHMARK(processReplacingWhileTurning)->Arg(44100)->Arg(96000);

}  // namespace

BENCHMARK_MAIN();
