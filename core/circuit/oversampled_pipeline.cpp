#include "core/circuit/oversampled_pipeline.h"

#include <algorithm>
#include <cstring>

#include "core/circuit/lanes.h"
#include "core/circuit/shaper_curves.h"

namespace murkfell {

namespace {

constexpr double secondStageOffset = 0.039f;

// In pipeline slot s the upsampler works on host sample s, the first clipping
// stage (its low-pass) on s − 1, the second clipping stage (smoothing
// low-pass, coupling network, second curve) on s − 2 and the downsampler on
// s − 3. Each sample's sub-samples travel through the stages in one of four
// rows; the upsampler leaves them passed through the first curve already.
enum Stage : unsigned { upsample = 1, firstStage = 2, secondStage = 4, downsample = 8 };
constexpr int stageCount = 4;

// Lanes of the four recurrences that step together in the steady state.
enum Lane { shaperAaLane, couplingLane, upAaLane, downAaLane };

using Row = std::array<double, maxOversampling>;

struct Pipeline {
  Pipeline(const CircuitState& state, int factor, const double* u, double* d)
      : coefficients(state.coefficients),
        factor(factor),
        scale(factor),
        u(u),
        d(d),
        upAa(state.histories.upAa),
        shaperAa(state.histories.shaperAa),
        downAa(state.histories.downAa),
        smoothLp(state.histories.smoothLp),
        coupling(state.histories.coupling) {}

  void storeInto(CircuitHistories& h, int lastSample) const {
    h.upAa = upAa;
    h.shaperAa = shaperAa;
    h.downAa = downAa;
    h.smoothLp = smoothLp;
    h.coupling = coupling;
    std::copy_n(rows[lastSample % stageCount].begin(), factor, h.overBuffer.begin());
  }

  Row& rowOf(int sample) { return rows[sample % stageCount]; }

  const CircuitCoefficients& coefficients;
  const int factor;
  const double scale;
  const double* const u;  // upsampler input per host sample
  double* const d;        // downsampler output per host sample
  FilterHistory<6> upAa, shaperAa, downAa;
  FilterHistory<1> smoothLp;
  FilterHistory<5> coupling;
  alignas(32) std::array<Row, stageCount> rows{};
};

// One slot with any set of stages, section by section (pipeline fill and drain).
template <unsigned Active>
void runSlot(Pipeline& p, int slot) {
  const CircuitCoefficients& c = p.coefficients;
  for (int k = 0; k < p.factor; ++k) {
    if constexpr ((Active & upsample) != 0) {
      // Zeros follow the host sample; the b0 product still runs on them.
      const double y = p.upAa.step(c.aa, k == 0 ? p.u[slot] : 0.0);
      p.rowOf(slot)[k] = firstShaper(y * p.scale);
    }
    if constexpr ((Active & firstStage) != 0) {
      double& value = p.rowOf(slot + 3)[k];
      value = p.shaperAa.stepFlushed<5>(c.aa, value);
    }
    if constexpr ((Active & secondStage) != 0) {
      double& value = p.rowOf(slot + 2)[k];
      const double smoothed = p.smoothLp.stepFlushed<1>(c.smoothLp, value);
      const double coupled = p.coupling.stepFlushed<4>(c.coupling, smoothed);
      value = secondShaper(-secondStageOffset - coupled);
    }
    if constexpr ((Active & downsample) != 0) {
      const double y = p.downAa.step(c.aa, p.rowOf(slot + 1)[k]);
      if (k == 0) p.d[slot - 3] = y;
    }
  }
  if constexpr ((Active & upsample) != 0) p.upAa.flushOutputsIfSilent();
  if constexpr ((Active & downsample) != 0) p.downAa.flushOutputsIfSilent();
}

void runPartialSlot(unsigned active, Pipeline& p, int slot) {
  switch (active) {
    case upsample:
      return runSlot<upsample>(p, slot);
    case upsample | firstStage:
      return runSlot<upsample | firstStage>(p, slot);
    case upsample | firstStage | secondStage:
      return runSlot<upsample | firstStage | secondStage>(p, slot);
    case firstStage:
      return runSlot<firstStage>(p, slot);
    case firstStage | secondStage:
      return runSlot<firstStage | secondStage>(p, slot);
    case firstStage | secondStage | downsample:
      return runSlot<firstStage | secondStage | downsample>(p, slot);
    case secondStage:
      return runSlot<secondStage>(p, slot);
    case secondStage | downsample:
      return runSlot<secondStage | downsample>(p, slot);
    case downsample:
      return runSlot<downsample>(p, slot);
  }
}

template <class V>
MURKFELL_INLINE void shapeFour(const LaneCurve<V>& curve, double* values) {
  V four;
  std::memcpy(&four, values, sizeof four);
  shapeLanes(curve, four);
  std::memcpy(values, &four, sizeof four);
}

// One sub-step of the four lanes in the steady state.
template <class V>
MURKFELL_INLINE void stepLanes(LaneSections<V, 6>& lanes, FilterHistory<1>& smoothLp,
                               const CircuitCoefficients& c, double upInput, double scale,
                               double& first, double& second, double& up, double down,
                               double& decimated) {
  const double smoothed = smoothLp.stepFlushed<1>(c.smoothLp, second);
  V in, out;
  gather(in, first, smoothed, upInput, down);
  lanes.output(out, in);
  // The low-pass after the first curve tests five previous outputs, the
  // coupling network four; the other two lanes flush once per slot.
  static_assert(shaperAaLane == 0 && couplingLane == 1);
  if (eitherOfFirstTwoSilent(out)) [[unlikely]] {
    static constexpr int tested[4] = {5, 4, 0, 0};
    Mask<V> flushedEachStep;
    gatherMask(flushedEachStep, true, true, false, false);
    lanes.flushSilentLanes(flushedEachStep, tested, out);
  }
  lanes.shift(in, out);
  first = lane(out, shaperAaLane);
  second = -secondStageOffset - lane(out, couplingLane);
  up = lane(out, upAaLane) * scale;
  decimated = lane(out, downAaLane);
}

// Slots first..last with every stage active: the four recurrences step
// together in the lanes of one LaneSections, then the curves run four
// sub-samples at a time over the rows.
template <class V>
MURKFELL_INLINE void runSteadySlots(Pipeline& p, int first, int last) {
  const CircuitCoefficients& c = p.coefficients;
  LaneSections<V, 6> lanes;
  lanes.loadLane(shaperAaLane, c.aa, p.shaperAa);
  lanes.loadLane(couplingLane, c.coupling, p.coupling);
  lanes.loadLane(upAaLane, c.aa, p.upAa);
  lanes.loadLane(downAaLane, c.aa, p.downAa);
  FilterHistory<1> smoothLp = p.smoothLp;
  const int factor = p.factor;
  const double scale = p.scale;
  const LaneCurve<V> firstLanes(firstCurve), secondLanes(secondCurve);
  Mask<V> flushedEachSlot;
  static_assert(upAaLane == 2 && downAaLane == 3);
  gatherMask(flushedEachSlot, false, false, true, true);

  for (int slot = first; slot <= last; ++slot) {
    Row& upRow = p.rowOf(slot);
    Row& firstRow = p.rowOf(slot + 3);
    Row& secondRow = p.rowOf(slot + 2);
    const Row& downRow = p.rowOf(slot + 1);
    stepLanes(lanes, smoothLp, c, p.u[slot], scale, firstRow[0], secondRow[0], upRow[0], downRow[0],
              p.d[slot - 3]);
    double unused;
    for (int k = 1; k < factor; ++k)
      stepLanes(lanes, smoothLp, c, 0.0, scale, firstRow[k], secondRow[k], upRow[k], downRow[k],
                unused);
    // Whole rows, with stale neighbours beyond the factor that are never read.
    for (int k = 0; k < factor; k += 4) {
      shapeFour(firstLanes, &upRow[k]);
      shapeFour(secondLanes, &secondRow[k]);
    }
    lanes.flushOutputsIfSilent(flushedEachSlot);
  }

  lanes.storeLane(shaperAaLane, p.shaperAa);
  lanes.storeLane(couplingLane, p.coupling);
  lanes.storeLane(upAaLane, p.upAa);
  lanes.storeLane(downAaLane, p.downAa);
  p.smoothLp = smoothLp;
}

void runSteadySlotsSse2(Pipeline& p, int first, int last) {
  runSteadySlots<DoublePair>(p, first, last);
}

__attribute__((target("avx2"))) void runSteadySlotsAvx2(Pipeline& p, int first, int last) {
  runSteadySlots<Double4>(p, first, last);
}

}  // namespace

void runOversampled(VectorUnit unit, CircuitState& state, int factor, const double* u, double* d,
                    int frames) {
  Pipeline p(state, factor, u, d);
  const int steadyFirst = stageCount - 1, steadyLast = frames - 1;
  for (int slot = 0; slot < frames + stageCount - 1; ++slot) {
    if (slot == steadyFirst && steadyFirst <= steadyLast) {
      if (unit == VectorUnit::avx2)
        runSteadySlotsAvx2(p, steadyFirst, steadyLast);
      else
        runSteadySlotsSse2(p, steadyFirst, steadyLast);
      slot = steadyLast;
      continue;
    }
    unsigned active = 0;
    if (slot < frames) active |= upsample;
    if (slot >= 1 && slot - 1 < frames) active |= firstStage;
    if (slot >= 2 && slot - 2 < frames) active |= secondStage;
    if (slot >= 3) active |= downsample;
    runPartialSlot(active, p, slot);
  }
  p.storeInto(state.histories, frames - 1);
}

}  // namespace murkfell
