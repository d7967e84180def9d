// The cost of long silence against the cost of a guitar, in one run. Two
// pedals run side by side, block for block: one plays a guitar, the other has
// played loud and then sat in silence for ten seconds. Counters, per rate:
//   signal_ns_per_sample, silence_ns_per_sample  processor time per sample
//   silence_to_signal                            their ratio; above 1 means
//                                                silence costs more (subnormal
//                                                arithmetic stalls)
//
// Run: <build>/bench/murkfell_silence_bench --benchmark_repetitions=5 and read
// the medians; on a busy machine single runs scatter by tens of per cent.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "formats/vst2/murkfell_effect.h"
#include "tests/support/thread_seconds.h"
#include "tools/guitar/repeated_plucks.h"

namespace {

constexpr int kBlock = 1024;

class Pedal {
 public:
  explicit Pedal(float sampleRate) : effect(std::make_unique<MurkfellEffect>(nullptr)) {
    effect->setSampleRate(sampleRate);
  }

  void process(std::vector<float>& input) {
    float* inputs[] = {input.data()};
    float* outputs[] = {output.data()};
    effect->processReplacing(inputs, outputs, kBlock);
  }

  // Processor time of one block.
  double timed(std::vector<float>& input) {
    const double start = threadSeconds();
    process(input);
    return threadSeconds() - start;
  }

 private:
  std::unique_ptr<MurkfellEffect> effect;
  std::vector<float> output = std::vector<float>(kBlock);
};

std::vector<float> guitarBlock(guitar::RepeatedPlucks& guitar) {
  std::vector<float> block(kBlock);
  for (float& sample : block) sample = guitar.next();
  return block;
}

void SilenceVersusSignal(benchmark::State& state) {
  const auto rate = static_cast<float>(state.range(0));
  const long blocksPerSecond = static_cast<long>(rate) / kBlock;
  Pedal playing(rate), resting(rate);
  guitar::RepeatedPlucks guitar(rate, 0.3f), loudGuitar(rate, 1.0f);
  std::vector<float> silence(kBlock, 0.0f);
  for (long block = 0; block < 2 * blocksPerSecond; ++block) {
    std::vector<float> loud = guitarBlock(loudGuitar);
    resting.process(loud);
  }
  for (long block = 0; block < 10 * blocksPerSecond; ++block) resting.process(silence);

  double signalSeconds = 0.0, silenceSeconds = 0.0;
  bool silenceFirst = false;  // alternates, so neither pedal always runs on a warm cache
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<float> input = guitarBlock(guitar);
    state.ResumeTiming();
    if (silenceFirst) silenceSeconds += resting.timed(silence);
    signalSeconds += playing.timed(input);
    if (!silenceFirst) silenceSeconds += resting.timed(silence);
    silenceFirst = !silenceFirst;
  }
  const double samples = static_cast<double>(state.iterations()) * kBlock;
  state.counters["signal_ns_per_sample"] = 1e9 * signalSeconds / samples;
  state.counters["silence_ns_per_sample"] = 1e9 * silenceSeconds / samples;
  state.counters["silence_to_signal"] = silenceSeconds / signalSeconds;
}

BENCHMARK(SilenceVersusSignal)->Arg(44100)->Arg(96000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
