// The measuring loop every throughput benchmark shares: blocks of a looped
// two-second plucked-string signal handed to `process(input, output)`, with
// the counters ns_per_sample (shown as "s", read ns) and realtime_factor
// (seconds of audio per second of one core).
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "tools/guitar/repeated_plucks.h"

template <class Process>
void measureBlocks(benchmark::State& state, float rate, int blockSize, Process process) {
  guitar::RepeatedPlucks source(rate);
  std::vector<float> input(static_cast<std::size_t>(rate) * 2);
  for (float& sample : input) sample = source.next();
  std::vector<float> output(blockSize);

  std::size_t position = 0;
  long samples = 0;
  for (auto _ : state) {
    if (position + blockSize > input.size()) position = 0;
    process(input.data() + position, output.data());
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
