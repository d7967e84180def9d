// Speed of the whole effect as a host drives it: MurkfellEffect::processReplacing
// on a plucked-string signal in blocks of 512 with the default parameters.
// Run from the build directory: bench/murkfell_effect_bench
// Counters as in circuit_benchmark.cpp: ns_per_sample (shown as "s", read ns)
// and realtime_factor (seconds of audio per second of one core).
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/plucked_string.h"
#include "effect/murkfell_effect.h"

namespace {

constexpr int blockSize = 512;

void processReplacingAtRate(benchmark::State& state) {
  const float rate = static_cast<float>(state.range(0));
  MurkfellEffect effect(nullptr);
  effect.setSampleRate(rate);

  murkfell::PluckedString source(rate);
  std::vector<float> input(static_cast<std::size_t>(rate) * 2);  // two seconds, looped
  for (float& sample : input) sample = source.next();
  std::vector<float> output(blockSize);

  std::size_t position = 0;
  long samples = 0;
  for (auto _ : state) {
    if (position + blockSize > input.size()) position = 0;
    float* inputs[] = {input.data() + position};
    float* outputs[] = {output.data()};
    effect.processReplacing(inputs, outputs, blockSize);
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
    position += blockSize;
    samples += blockSize;
  }
  state.counters["ns_per_sample"] =
      benchmark::Counter(samples * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["realtime_factor"] =
      benchmark::Counter(samples / static_cast<double>(rate), benchmark::Counter::kIsRate);
}
BENCHMARK(processReplacingAtRate)->Arg(44100)->Arg(48000)->Arg(88200)->Arg(96000)->Arg(192000);

}  // namespace

BENCHMARK_MAIN();
