// Speed of the circuit model on a plucked-string signal in blocks of 512 with
// the default knobs, at the common host rates. Run from the build directory:
//   ninja bench/murkfell_circuit_bench && bench/murkfell_circuit_bench
// Counters: ns_per_sample is CPU time per input sample (shown as "s" by the
// library, read it as ns); realtime_factor is seconds of audio processed per
// second of one core. "plain" is the sample-by-sample loop the tests use as
// oracle, "sse2" and "avx2" the shipped loop on each vector unit. Cycles per
// sample: run it under `perf stat -e cycles` where the machine exposes
// hardware counters and divide by the samples processed.
#include <benchmark/benchmark.h>

#include <utility>

#include "bench/block_benchmark.h"
#include "core/circuit/audio_taper.h"
#include "core/circuit/coefficient_design.h"
#include "core/circuit/knob_retune.h"
#include "core/circuit/process_block.h"
#include "tests/core/circuit/reference_circuit.h"

namespace murkfell {
namespace {

constexpr int blockSize = 512;

enum class Loop { plain, sse2, avx2 };

void runLoop(Loop loop, CircuitState& circuit, const SignalSettings& settings, const float* in,
             float* out) {
  switch (loop) {
    case Loop::plain:
      return reference::processBlock(circuit, settings, in, out, blockSize);
    case Loop::sse2:
      return processBlockOn(VectorUnit::sse2, circuit, settings, in, out, blockSize);
    case Loop::avx2:
      return processBlockOn(VectorUnit::avx2, circuit, settings, in, out, blockSize);
  }
}

void circuitLoop(benchmark::State& state, Loop loop) {
  if (loop == Loop::avx2 && !isAvailable(VectorUnit::avx2)) {
    state.SkipWithError("no AVX2 on this machine");
    return;
  }
  const float rate = static_cast<float>(state.range(0));
  CircuitState circuit{};
  resetToStartingValues(circuit);
  recomputeCoefficients(circuit, rate, oversamplingFor(rate), {});
  const SignalSettings settings{levelGainFor(0.5f), 1, 0, oversamplingFor(rate)};

  measureBlocks(state, rate, blockSize, [&](const float* input, float* output) {
    runLoop(loop, circuit, settings, input, output);
  });
}

void rates(benchmark::internal::Benchmark* b) {
  for (int rate : {44100, 48000, 88200, 96000, 192000}) b->Arg(rate);
}

// One knob turn on the running circuit (knob_retune.h): the new coefficient
// set and the rewritten histories, turning back and forth. Time per turn.
void retune(benchmark::State& state, KnobSettings first, KnobSettings second) {
  CircuitState circuit{};
  resetToStartingValues(circuit);
  recomputeCoefficients(circuit, 44100.0f, 12, first);
  for (auto _ : state) {
    retuneKnobs(circuit, 44100.0f, first, second);
    std::swap(first, second);
    benchmark::DoNotOptimize(circuit.histories);
  }
}
BENCHMARK_CAPTURE(retune, gain, KnobSettings{0.3f, 0.5f, 0.5f, 0.5f},
                  KnobSettings{0.7f, 0.5f, 0.5f, 0.5f});
BENCHMARK_CAPTURE(retune, tone, KnobSettings{0.5f, 0.5f, 0.5f, 0.3f},
                  KnobSettings{0.5f, 0.5f, 0.5f, 0.7f});

BENCHMARK_CAPTURE(circuitLoop, plain, Loop::plain)->Apply(rates);
BENCHMARK_CAPTURE(circuitLoop, sse2, Loop::sse2)->Apply(rates);
BENCHMARK_CAPTURE(circuitLoop, avx2, Loop::avx2)->Apply(rates);

}  // namespace
}  // namespace murkfell

BENCHMARK_MAIN();
