// Speed of the circuit model on a plucked-string signal in blocks of 512 with
// the default knobs. Run from the build directory:
//   ninja bench/murkfell_circuit_bench && bench/murkfell_circuit_bench
// ns_per_sample is CPU time per input sample; realtime_factor is seconds of
// audio processed per second of one core.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/plucked_string.h"
#include "circuit/audio_taper.h"
#include "circuit/coefficient_design.h"
#include "circuit/process_block.h"

namespace murkfell {
namespace {

constexpr int blockSize = 512;

void reportPerSample(benchmark::State& state, double sampleRate, long samples) {
    state.counters["ns_per_sample"] =
        benchmark::Counter(samples * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["realtime_factor"] =
        benchmark::Counter(samples / sampleRate, benchmark::Counter::kIsRate);
}

void processBlockAtRate(benchmark::State& state) {
    const float rate = static_cast<float>(state.range(0));
    CircuitState circuit{};
    resetToStartingValues(circuit);
    recomputeCoefficients(circuit, rate, oversamplingFor(rate), {});
    const SignalSettings settings{levelGainFor(0.5f), 1, 0, oversamplingFor(rate)};

    PluckedString source(rate);
    std::vector<float> input(static_cast<std::size_t>(rate) * 2);  // two seconds, looped
    for (float& sample : input) sample = source.next();
    std::vector<float> output(blockSize);

    std::size_t position = 0;
    long samples = 0;
    for (auto _ : state) {
        if (position + blockSize > input.size()) position = 0;
        processBlock(circuit, settings, input.data() + position, output.data(), blockSize);
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
        position += blockSize;
        samples += blockSize;
    }
    reportPerSample(state, rate, samples);
}
BENCHMARK(processBlockAtRate)->Arg(44100)->Arg(96000);

}  // namespace
}  // namespace murkfell

BENCHMARK_MAIN();
