#include "core/circuit/oversampled_pipeline.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/circuit/lanes.h"
#include "core/circuit/pipeline_driver.h"
#include "core/circuit/shaper_curves.h"

namespace murkfell {

namespace {

constexpr double secondStageOffset = 0.039f;

// In slot s the upsampler works on host sample s, the low-pass after the
// first curve on s − 1, the second stage (smoothing low-pass, coupling
// network, second curve) on s − 2 and the downsampler on s − 3.
enum Stage { upsample, firstStage, secondStage, downsample };
constexpr StageLags lags{0, 1, 2, 3};

// The lanes of the four recurrences. The two that flush after every
// sub-step come first, so that test looks at the low half only.
enum Lane { shaperAaLane, couplingLane, upAaLane, downAaLane };

// Per sub-sample, padded to whole groups of four.
constexpr int rowLength = (maxOversampling + 3) / 4 * 4;
using Row = std::array<double, rowLength>;

// What a slot hands to the next one, per sub-sample: the first curve's
// output (for the low-pass after it), that low-pass's output (for the
// smoothing low-pass) and the second curve's output (for the downsampler).
struct Handover {
  alignas(32) Row firstCurve{}, firstLowPass{}, secondCurve{};
};

template <class V>
MURKFELL_INLINE void load(V& out, const double* values) {
  std::memcpy(&out, values, sizeof out);
}
template <class V>
MURKFELL_INLINE void store(double* values, const V& in) {
  std::memcpy(values, &in, sizeof in);
}

// The oversampled part for one block. Factor is the oversampling factor
// when known at compile time (the sub-step loop then unrolls and the
// histories stay in registers), or 0 to take it from the state.
template <class V, int Factor>
struct OversampledStages {
  OversampledStages(CircuitState& state, int factor, const double* u, double* d)
      : c(state.coefficients),
        factor(Factor > 0 ? Factor : factor),
        u(u),
        d(d),
        smoothLp(state.histories.smoothLp),
        firstCurve(murkfell::firstCurve),
        secondCurve(murkfell::secondCurve) {
    lanes.loadLane(shaperAaLane, c.aa, state.histories.shaperAa);
    lanes.loadLane(couplingLane, c.coupling, state.histories.coupling);
    lanes.loadLane(upAaLane, c.aa, state.histories.upAa);
    lanes.loadLane(downAaLane, c.aa, state.histories.downAa);
    broadcast(scale, this->factor);
    broadcast(negativeOffset, -secondStageOffset);
    gatherMask(flushedEachSlot, false, false, true, true);
  }

  // `handovers` holds the second curve's outputs for the last sample, which
  // the downsampler took in the last slot.
  void storeInto(CircuitHistories& h, int slots) const {
    lanes.storeLane(shaperAaLane, h.shaperAa);
    lanes.storeLane(couplingLane, h.coupling);
    lanes.storeLane(upAaLane, h.upAa);
    lanes.storeLane(downAaLane, h.downAa);
    h.smoothLp = smoothLp;
    const Row& lastSecondCurve = handovers[(slots - 1) % 2].secondCurve;
    std::copy_n(lastSecondCurve.begin(), factor, h.overBuffer.begin());
  }

  // All four stages of one slot; `in` comes from the slot before, `out`
  // goes to the next. upInput is the host sample entering the upsampler,
  // decimated receives the downsampler's output for sub-sample 0. The
  // histories come in as locals of the caller, so that they can live in
  // registers. Each sub-step's lane outputs go to memory one by one as they
  // come; the curves then take them four at a time.
  MURKFELL_INLINE void runSlot(LaneSections<V, 6>& lanes, FilterHistory<1>& smoothLp,
                               const Handover& in, Handover& out, double upInput,
                               double& decimated) const {
    const int steps = Factor > 0 ? Factor : factor;
    alignas(32) Row upsampled, amplified;
#pragma GCC unroll 12
    for (int k = 0; k < steps; ++k) {
      const double smoothed = smoothLp.stepFlushed<1>(c.smoothLp, in.firstLowPass[k]);
      V input, output;
      gather(input, in.firstCurve[k], smoothed, k == 0 ? upInput : 0.0, in.secondCurve[k]);
      lanes.output(output, input);
      flushEachStep(lanes, output);
      lanes.shift(input, output);
      out.firstLowPass[k] = lane(output, shaperAaLane);
      amplified[k] = lane(output, couplingLane);
      upsampled[k] = lane(output, upAaLane);
      if (k == 0) decimated = lane(output, downAaLane);
    }
    // Past the factor the last sub-sample goes along again, unused, so that
    // it takes the same curve piece as its neighbours.
    for (int k = steps; k % 4 != 0; ++k) {
      amplified[k] = amplified[steps - 1];
      upsampled[k] = upsampled[steps - 1];
    }
#pragma GCC unroll 3
    for (int k = 0; k < steps; k += 4) {
      V first, second;
      load(first, &upsampled[k]);
      first = first * scale;
      shapeLanes(firstCurve, first);
      store(&out.firstCurve[k], first);
      load(second, &amplified[k]);
      second = negativeOffset - second;
      shapeLanes(secondCurve, second);
      store(&out.secondCurve[k], second);
    }
    lanes.flushOutputsIfSilent(flushedEachSlot);
  }

  // The low-pass after the first curve tests five previous outputs, the
  // coupling network four; the other two lanes flush once per slot.
  MURKFELL_INLINE static void flushEachStep(LaneSections<V, 6>& lanes, V& output) {
    if (!eitherOfFirstTwoSilent(output)) [[likely]]
      return;
    static constexpr int tested[4] = {5, 4, 0, 0};
    Mask<V> flushedEachStep;
    gatherMask(flushedEachStep, true, true, false, false);
    lanes.flushSilentLanes(flushedEachStep, tested, output);
  }

  MURKFELL_INLINE int steady(int first, int last) {
    LaneSections<V, 6> running = lanes;
    FilterHistory<1> runningSmoothLp = smoothLp;
    for (int slot = first; slot <= last; ++slot)
      runSlot(running, runningSmoothLp, handovers[slot % 2], handovers[(slot + 1) % 2], u[slot],
              d[slot - lags[downsample]]);
    lanes = running;
    smoothLp = runningSmoothLp;
    return last + 1;
  }

  // A fill or drain slot runs all lanes and then puts back the histories
  // of the stages that had no sample.
  MURKFELL_INLINE bool edge(int slot, unsigned active) {
    const auto has = [active](Stage stage) { return (active & (1u << stage)) != 0; };
    LaneSections<V, 6> running = lanes;
    FilterHistory<1> runningSmoothLp = smoothLp;
    double unused;
    runSlot(running, runningSmoothLp, handovers[slot % 2], handovers[(slot + 1) % 2],
            has(upsample) ? u[slot] : 0.0, has(downsample) ? d[slot - lags[downsample]] : unused);
    Mask<V> ran;
    gatherMask(ran, has(firstStage), has(secondStage), has(upsample), has(downsample));
    running.restoreLanes(lanes, ran);
    lanes = running;
    if (has(secondStage)) smoothLp = runningSmoothLp;
    return true;
  }

  const CircuitCoefficients& c;
  const int factor;
  const double* const u;  // upsampler input per host sample
  double* const d;        // downsampler output per host sample
  LaneSections<V, 6> lanes;
  FilterHistory<1> smoothLp;
  const LaneCurve<V> firstCurve, secondCurve;
  V scale, negativeOffset;
  Mask<V> flushedEachSlot;
  Handover handovers[2];  // by slot parity
};

template <class V, int Factor>
MURKFELL_INLINE void runStages(CircuitState& state, int factor, const double* u, double* d,
                               int frames) {
  OversampledStages<V, Factor> stages(state, factor, u, d);
  const int slots = drivePipeline(lags, frames, stages);
  stages.storeInto(state.histories, slots);
}

// The two factors the effect uses get loops of their own.
template <class V>
MURKFELL_INLINE void runOn(CircuitState& state, int factor, const double* u, double* d,
                           int frames) {
  switch (factor) {
    case 12:
      return runStages<V, 12>(state, factor, u, d, frames);
    case 7:
      return runStages<V, 7>(state, factor, u, d, frames);
    default:
      return runStages<V, 0>(state, factor, u, d, frames);
  }
}

void runSse2(CircuitState& state, int factor, const double* u, double* d, int frames) {
  runOn<DoublePair>(state, factor, u, d, frames);
}

__attribute__((target("avx2"))) void runAvx2(CircuitState& state, int factor, const double* u,
                                             double* d, int frames) {
  runOn<Double4>(state, factor, u, d, frames);
}

}  // namespace

void runOversampled(VectorUnit unit, CircuitState& state, int factor, const double* u, double* d,
                    int frames) {
  if (unit == VectorUnit::avx2)
    runAvx2(state, factor, u, d, frames);
  else
    runSse2(state, factor, u, d, frames);
}

}  // namespace murkfell
