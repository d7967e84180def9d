#include "core/circuit/output_stages.h"

#include <cmath>

#include "core/circuit/lanes.h"

// With the cabinet on, four host-rate sections run in series. They are
// skewed like the oversampled pipeline: in slot s the tone stack works on
// sample s, the cabinet high-pass on s − 1, the first cabinet low-pass on
// s − 2, the second one and the output network on s − 3. The four sections
// then step together in the lanes of one register, each in its own order.

namespace murkfell {

namespace {

enum Stage : unsigned { toneStage = 1, highPassStage = 2, firstLowPassStage = 4, lastStage = 8 };
constexpr int stageCount = 4;
enum Lane { toneLane, highPassLane, firstLowPassLane, secondLowPassLane };

struct OutputStages {
  OutputStages(CircuitState& state, const SignalSettings& settings, const double* d, float* output)
      : state(state),
        c(state.coefficients),
        level(settings.levelGain),
        d(d),
        output(output),
        tone(state.histories.tone),
        cabHp(state.histories.cabHp),
        cabLp1(state.histories.cabLp1),
        cabLp2(state.histories.cabLp2),
        outputNetwork(state.histories.output) {}

  void storeInto(CircuitHistories& h) const {
    h.tone = tone;
    h.cabHp = cabHp;
    h.cabLp1 = cabLp1;
    h.cabLp2 = cabLp2;
    h.output = outputNetwork;
  }

  // Level and output network; false when the sample is not finite.
  bool emit(double v, float& out) {
    out = static_cast<float>(outputNetwork.stepFlushed<1>(c.output, v * level));
    return std::isfinite(out);
  }

  CircuitState& state;
  const CircuitCoefficients& c;
  const double level;
  const double* const d;
  float* const output;
  FilterHistory<3> tone;
  FilterHistory<2> cabHp;
  FilterHistory<3> cabLp1, cabLp2;
  FilterHistory<1> outputNetwork;
  // Each section's latest output, taken by the next section one slot later.
  double toneOut = 0.0, highPassOut = 0.0, firstLowPassOut = 0.0;
};

// One slot with any set of stages, section by section (fill and drain); the
// later stages go first so that each takes its input before it is replaced.
template <unsigned Active>
bool runSlot(OutputStages& t, int slot) {
  if constexpr ((Active & lastStage) != 0) {
    const double v = t.cabLp2.stepFlushed<2>(t.c.cabLp2, t.firstLowPassOut);
    if (!t.emit(v, t.output[slot - 3])) return false;
  }
  if constexpr ((Active & firstLowPassStage) != 0)
    t.firstLowPassOut = t.cabLp1.stepFlushed<2>(t.c.cabLp1, t.highPassOut);
  if constexpr ((Active & highPassStage) != 0)
    t.highPassOut = t.cabHp.stepFlushed<2>(t.c.cabHp, t.toneOut);
  if constexpr ((Active & toneStage) != 0) t.toneOut = t.tone.stepFlushed<2>(t.c.tone, t.d[slot]);
  return true;
}

bool runPartialSlot(unsigned active, OutputStages& t, int slot) {
  switch (active) {
    case toneStage:
      return runSlot<toneStage>(t, slot);
    case toneStage | highPassStage:
      return runSlot<toneStage | highPassStage>(t, slot);
    case toneStage | highPassStage | firstLowPassStage:
      return runSlot<toneStage | highPassStage | firstLowPassStage>(t, slot);
    case highPassStage:
      return runSlot<highPassStage>(t, slot);
    case highPassStage | firstLowPassStage:
      return runSlot<highPassStage | firstLowPassStage>(t, slot);
    case highPassStage | firstLowPassStage | lastStage:
      return runSlot<highPassStage | firstLowPassStage | lastStage>(t, slot);
    case firstLowPassStage:
      return runSlot<firstLowPassStage>(t, slot);
    case firstLowPassStage | lastStage:
      return runSlot<firstLowPassStage | lastStage>(t, slot);
    case lastStage:
      return runSlot<lastStage>(t, slot);
  }
  return true;
}

// Slots first..last with every stage active. Returns the slot whose sample
// came out non-finite, or last + 1.
template <class V>
MURKFELL_INLINE int runSteadySlots(OutputStages& t, int first, int last) {
  LaneSections<V, 3> lanes;
  lanes.loadLane(toneLane, t.c.tone, t.tone);
  lanes.loadLane(highPassLane, t.c.cabHp, t.cabHp);
  lanes.loadLane(firstLowPassLane, t.c.cabLp1, t.cabLp1);
  lanes.loadLane(secondLowPassLane, t.c.cabLp2, t.cabLp2);
  static constexpr int tested[4] = {2, 2, 2, 2};
  Mask<V> allLanes;
  gatherMask(allLanes, true, true, true, true);
  V previous;
  gather(previous, t.toneOut, t.highPassOut, t.firstLowPassOut, 0.0);

  int slot = first;
  for (; slot <= last; ++slot) {
    V in, out;
    gather(in, t.d[slot], lane(previous, toneLane), lane(previous, highPassLane),
           lane(previous, firstLowPassLane));
    lanes.output(out, in);
    Mask<V> quiet;
    silentLanes(quiet, out);
    if (anyLane(quiet)) [[unlikely]]
      lanes.flushSilentLanes(allLanes, tested, out);
    lanes.shift(in, out);
    previous = out;
    if (!t.emit(lane(out, secondLowPassLane), t.output[slot - 3])) [[unlikely]]
      break;
  }

  lanes.storeLane(toneLane, t.tone);
  lanes.storeLane(highPassLane, t.cabHp);
  lanes.storeLane(firstLowPassLane, t.cabLp1);
  lanes.storeLane(secondLowPassLane, t.cabLp2);
  t.toneOut = lane(previous, toneLane);
  t.highPassOut = lane(previous, highPassLane);
  t.firstLowPassOut = lane(previous, firstLowPassLane);
  return slot;
}

int runSteadySlotsSse2(OutputStages& t, int first, int last) {
  return runSteadySlots<DoublePair>(t, first, last);
}

__attribute__((target("avx2"))) int runSteadySlotsAvx2(OutputStages& t, int first, int last) {
  return runSteadySlots<Double4>(t, first, last);
}

// A non-finite value would stay in the histories for good: restart the
// circuit from rest and drop this one sample.
int restartAfter(CircuitState& state, float* output, int sample) {
  resetToStartingValues(state);
  output[sample] = 0.0f;
  return sample + 1;
}

int runWithCabinet(VectorUnit unit, CircuitState& state, const SignalSettings& settings,
                   const double* d, float* output, int frames) {
  OutputStages t(state, settings, d, output);
  const int steadyFirst = stageCount - 1, steadyLast = frames - 1;
  for (int slot = 0; slot < frames + stageCount - 1; ++slot) {
    if (slot == steadyFirst && steadyFirst <= steadyLast) {
      const int stopped = unit == VectorUnit::avx2 ? runSteadySlotsAvx2(t, slot, steadyLast)
                                                   : runSteadySlotsSse2(t, slot, steadyLast);
      if (stopped <= steadyLast) [[unlikely]]
        return restartAfter(state, output, stopped - 3);
      slot = steadyLast;
      continue;
    }
    unsigned active = 0;
    if (slot < frames) active |= toneStage;
    if (slot >= 1 && slot - 1 < frames) active |= highPassStage;
    if (slot >= 2 && slot - 2 < frames) active |= firstLowPassStage;
    if (slot >= 3) active |= lastStage;
    if (!runPartialSlot(active, t, slot)) [[unlikely]]
      return restartAfter(state, output, slot - 3);
  }
  t.storeInto(state.histories);
  return frames;
}

int runWithoutCabinet(CircuitState& state, const SignalSettings& settings, const double* d,
                      float* output, int frames) {
  OutputStages t(state, settings, d, output);
  for (int i = 0; i < frames; ++i) {
    if (!t.emit(t.tone.stepFlushed<2>(t.c.tone, d[i]), output[i])) [[unlikely]]
      return restartAfter(state, output, i);
  }
  t.storeInto(state.histories);
  return frames;
}

}  // namespace

int runOutputStages(VectorUnit unit, CircuitState& state, const SignalSettings& settings,
                    const double* d, float* output, int frames) {
  if (settings.cabSimOn == 1) return runWithCabinet(unit, state, settings, d, output, frames);
  return runWithoutCabinet(state, settings, d, output, frames);
}

}  // namespace murkfell
