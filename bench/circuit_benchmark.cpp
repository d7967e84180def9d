// Speed of the circuit model on a plucked-string signal in blocks of 512 with
// the default knobs, at the common host rates. Run from the build directory:
//   ninja bench/murkfell_circuit_bench && bench/murkfell_circuit_bench
// Counters: ns_per_sample is CPU time per input sample (shown as "s" by the
// library, read it as ns); realtime_factor is seconds of audio processed per
// second of one core. "plain" is the sample-by-sample loop the tests use as
// oracle, the others the shipped loop on each vector unit. Cycles per
// sample: run it under `perf stat -e cycles` where the machine exposes
// hardware counters and divide by the samples processed.
#include <benchmark/benchmark.h>

#include <string>
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

// The shipped loop on one vector unit, or the plain loop when there is none.
void circuitLoop(benchmark::State& state, const VectorUnit* unit) {
  if (unit != nullptr && !isAvailable(*unit)) {
    state.SkipWithError("vector unit not available on this machine");
    return;
  }
  const float rate = static_cast<float>(state.range(0));
  CircuitState circuit{};
  resetToStartingValues(circuit);
  recomputeCoefficients(circuit, rate, oversamplingFor(rate), {});
  const SignalSettings settings{levelGainFor(0.5f), 1, 0, oversamplingFor(rate)};

  measureBlocks(state, rate, blockSize, [&](const float* input, float* output) {
    if (unit == nullptr)
      reference::processBlock(circuit, settings, input, output, blockSize);
    else
      processBlockOn(*unit, circuit, settings, input, output, blockSize);
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

}  // namespace
}  // namespace murkfell

int main(int argc, char** argv) {
  using namespace murkfell;
  benchmark::RegisterBenchmark("circuitLoop/plain", circuitLoop, nullptr)->Apply(rates);
  for (const VectorUnit& unit : allVectorUnits)
    benchmark::RegisterBenchmark((std::string("circuitLoop/") + nameOf(unit)).c_str(), circuitLoop,
                                 &unit)
        ->Apply(rates);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
