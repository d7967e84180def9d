#include "core/circuit/output_stages.h"

#include <cmath>

#include "core/circuit/lanes.h"
#include "core/circuit/pipeline_driver.h"

// With the cabinet on, four host-rate sections run in series: the tone
// stack, the cabinet high-pass and the two cabinet low-passes. Skewed by two
// slots each (in slot s the tone stack works on sample s, the high-pass on
// s − 2, the first low-pass on s − 4, the second on s − 6), every section
// takes an input made two slots earlier, which has long left the
// recurrence, so the four step together in the lanes of one register at the
// pace of their own recurrences.

namespace murkfell {

namespace {

// Stage i runs in lane i.
enum Stage { toneStage, highPassStage, firstLowPassStage, secondLowPassStage };
constexpr StageLags lags{0, 2, 4, 6};

// A non-finite value would stay in the histories for good: restart the
// circuit from rest and drop this one sample.
int restartAfter(CircuitState& state, float* output, int sample) {
  resetToStartingValues(state);
  output[sample] = 0.0f;
  return sample + 1;
}

// Level and output network; false when the sample is not finite.
struct OutputNetwork {
  OutputNetwork(const CircuitState& state, const SignalSettings& settings)
      : c(state.coefficients.output), level(settings.levelGain), history(state.histories.output) {}

  MURKFELL_INLINE bool emit(double v, float& out) {
    out = static_cast<float>(history.stepFlushed<1>(c, v * level));
    return std::isfinite(out);
  }

  const FilterCoefficients<1>& c;
  const double level;
  FilterHistory<1> history;
};

// Lanes 1..3 take lanes 0..2 of `from`, lane 0 takes `first`.
MURKFELL_INLINE void shiftUp(Double4& out, const Double4& from, double first) {
  out = Double4{first, from[0], from[1], from[2]};
}
MURKFELL_INLINE void shiftUp(DoublePair& out, const DoublePair& from, double first) {
  out.low = Double2{first, from.low[0]};
  out.high = Double2{from.low[1], from.high[0]};
}

template <class V>
struct CabinetStages {
  CabinetStages(CircuitState& state, const SignalSettings& settings, const double* d, float* output)
      : d(d), output(output), outputNetwork(state, settings) {
    const CircuitCoefficients& c = state.coefficients;
    const CircuitHistories& h = state.histories;
    lanes.loadLane(toneStage, c.tone, h.tone);
    lanes.loadLane(highPassStage, c.cabHp, h.cabHp);
    lanes.loadLane(firstLowPassStage, c.cabLp1, h.cabLp1);
    lanes.loadLane(secondLowPassStage, c.cabLp2, h.cabLp2);
    gatherMask(allLanes, true, true, true, true);
  }

  void storeInto(CircuitHistories& h) const {
    lanes.storeLane(toneStage, h.tone);
    lanes.storeLane(highPassStage, h.cabHp);
    lanes.storeLane(firstLowPassStage, h.cabLp1);
    lanes.storeLane(secondLowPassStage, h.cabLp2);
    h.output = outputNetwork.history;
  }

  MURKFELL_INLINE void runSlot(double toneInput) {
    V input, out;
    shiftUp(input, older, toneInput);
    lanes.output(out, input);
    Mask<V> quiet;
    silentLanes(quiet, out);
    if (anyLane(quiet)) [[unlikely]] {
      static constexpr int tested[4] = {2, 2, 2, 2};
      lanes.flushSilentLanes(allLanes, tested, out);
    }
    lanes.shift(input, out);
    older = recent;
    recent = out;
  }

  MURKFELL_INLINE bool emitLast(int slot) {
    return outputNetwork.emit(lane(recent, secondLowPassStage),
                              output[slot - lags[secondLowPassStage]]);
  }

  MURKFELL_INLINE int steady(int first, int last) {
    for (int slot = first; slot <= last; ++slot) {
      runSlot(d[slot]);
      if (!emitLast(slot)) [[unlikely]]
        return slot;
    }
    return last + 1;
  }

  // A fill or drain slot runs all lanes and then puts back the histories
  // of the stages that had no sample; their outputs only ever reach lanes
  // that had none either.
  MURKFELL_INLINE bool edge(int slot, unsigned active) {
    const auto has = [active](Stage stage) { return (active & (1u << stage)) != 0; };
    const LaneSections<V, 3> before = lanes;
    runSlot(has(toneStage) ? d[slot] : 0.0);
    Mask<V> ran;
    gatherMask(ran, has(toneStage), has(highPassStage), has(firstLowPassStage),
               has(secondLowPassStage));
    lanes.restoreLanes(before, ran);
    return !has(secondLowPassStage) || emitLast(slot);
  }

  const double* const d;
  float* const output;
  LaneSections<V, 3> lanes;
  OutputNetwork outputNetwork;
  V recent{}, older{};  // the lanes' outputs of the last two slots
  Mask<V> allLanes;
};

template <class V>
MURKFELL_INLINE int runCabinetOn(CircuitState& state, const SignalSettings& settings,
                                 const double* d, float* output, int frames) {
  CabinetStages<V> stages(state, settings, d, output);
  const int stopped = drivePipeline(lags, frames, stages);
  if (stopped < frames + lags[secondLowPassStage]) [[unlikely]]
    return restartAfter(state, output, stopped - lags[secondLowPassStage]);
  stages.storeInto(state.histories);
  return frames;
}

int runCabinetSse2(CircuitState& state, const SignalSettings& settings, const double* d,
                   float* output, int frames) {
  return runCabinetOn<DoublePair>(state, settings, d, output, frames);
}

__attribute__((target("avx2"))) int runCabinetAvx2(CircuitState& state,
                                                   const SignalSettings& settings, const double* d,
                                                   float* output, int frames) {
  return runCabinetOn<Double4>(state, settings, d, output, frames);
}

int runWithoutCabinet(CircuitState& state, const SignalSettings& settings, const double* d,
                      float* output, int frames) {
  const FilterCoefficients<3>& toneCoefficients = state.coefficients.tone;
  FilterHistory<3> tone = state.histories.tone;
  OutputNetwork outputNetwork(state, settings);
  for (int i = 0; i < frames; ++i) {
    if (!outputNetwork.emit(tone.stepFlushed<2>(toneCoefficients, d[i]), output[i])) [[unlikely]]
      return restartAfter(state, output, i);
  }
  state.histories.tone = tone;
  state.histories.output = outputNetwork.history;
  return frames;
}

}  // namespace

int runOutputStages(VectorUnit unit, CircuitState& state, const SignalSettings& settings,
                    const double* d, float* output, int frames) {
  if (settings.cabSimOn != 1) return runWithoutCabinet(state, settings, d, output, frames);
  if (unit == VectorUnit::avx2) return runCabinetAvx2(state, settings, d, output, frames);
  return runCabinetSse2(state, settings, d, output, frames);
}

}  // namespace murkfell
