#include "circuit/process_block.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "circuit/lanes.h"
#include "circuit/shaper_curves.h"

// The chain runs a chunk of host samples at a time in three passes: the
// host-rate head (input high-pass, gain network) over the whole chunk, the
// oversampled part as a software pipeline, and the host-rate tail (tone
// stack, cabinet, level, output network). Every section still sees its inputs
// in order and does the same arithmetic in the same order as a
// sample-by-sample evaluation, so the output is bit-identical; the pipeline
// only lets the recurrences of different sections run side by side.

namespace murkfell {

namespace {

constexpr double inputFactor = 2.0;
constexpr double stageScale = 0.981f;
constexpr double stageOffset = 0.0174f;
constexpr double secondStageOffset = 0.039f;

constexpr int chunkFrames = 512;

// In pipeline slot s the upsampler works on host sample s, the first clipping
// stage (first curve, its low-pass) on s − 1, the second (smoothing low-pass,
// coupling network, second curve) on s − 2 and the downsampler on s − 3. Each
// sample's sub-samples travel through the stages in one of four rows.
enum Stage : unsigned { upsample = 1, firstStage = 2, secondStage = 4, downsample = 8 };
constexpr int stageCount = 4;

// Lanes of the four sixth-order-or-less recurrences in the steady state.
enum Lane { shaperAaLane, couplingLane, upAaLane, downAaLane };

using Row = std::array<double, maxOversampling>;

struct Pipeline {
    Pipeline(const CircuitCoefficients& c, const CircuitHistories& h, int factor)
        : coefficients(c), factor(factor), scale(factor), upAa(h.upAa), shaperAa(h.shaperAa),
          downAa(h.downAa), smoothLp(h.smoothLp), coupling(h.coupling) {}

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
    FilterHistory<6> upAa, shaperAa, downAa;
    FilterHistory<1> smoothLp;
    FilterHistory<5> coupling;
    alignas(32) std::array<Row, stageCount> rows{};
};

// One slot with any set of stages, section by section (pipeline fill and drain).
template <unsigned Active>
void runSlot(Pipeline& p, int slot, const double* u, double* d) {
    const CircuitCoefficients& c = p.coefficients;
    for (int k = 0; k < p.factor; ++k) {
        if constexpr ((Active & upsample) != 0) {
            // Zeros follow the host sample; the b0 product still runs on them.
            p.rowOf(slot)[k] = p.upAa.step(c.aa, k == 0 ? u[slot] : 0.0) * p.scale;
        }
        if constexpr ((Active & firstStage) != 0) {
            double& value = p.rowOf(slot + 3)[k];
            value = p.shaperAa.stepFlushed<5>(c.aa, firstShaper(value));
        }
        if constexpr ((Active & secondStage) != 0) {
            double& value = p.rowOf(slot + 2)[k];
            const double smoothed = p.smoothLp.stepFlushed<1>(c.smoothLp, value);
            const double coupled = p.coupling.stepFlushed<4>(c.coupling, smoothed);
            value = secondShaper(-secondStageOffset - coupled);
        }
        if constexpr ((Active & downsample) != 0) {
            const double y = p.downAa.step(c.aa, p.rowOf(slot + 1)[k]);
            if (k == 0) d[slot - 3] = y;
        }
    }
    if constexpr ((Active & upsample) != 0) p.upAa.flushOutputsIfSilent();
    if constexpr ((Active & downsample) != 0) p.downAa.flushOutputsIfSilent();
}

void runPartialSlot(unsigned active, Pipeline& p, int slot, const double* u, double* d) {
    switch (active) {
        case upsample: return runSlot<upsample>(p, slot, u, d);
        case upsample | firstStage: return runSlot<upsample | firstStage>(p, slot, u, d);
        case upsample | firstStage | secondStage:
            return runSlot<upsample | firstStage | secondStage>(p, slot, u, d);
        case firstStage: return runSlot<firstStage>(p, slot, u, d);
        case firstStage | secondStage: return runSlot<firstStage | secondStage>(p, slot, u, d);
        case firstStage | secondStage | downsample:
            return runSlot<firstStage | secondStage | downsample>(p, slot, u, d);
        case secondStage: return runSlot<secondStage>(p, slot, u, d);
        case secondStage | downsample: return runSlot<secondStage | downsample>(p, slot, u, d);
        case downsample: return runSlot<downsample>(p, slot, u, d);
    }
}

MURKFELL_INLINE void shapeRow(const ShaperCurve& curve, Row& row, int factor) {
    for (int k = 0; k < factor; k += 4) {
        Lanes values;
        std::memcpy(&values, &row[k], sizeof values);
        shapeLanes(curve, values);
        std::memcpy(&row[k], &values, sizeof values);
    }
}

// Slots first..last with every stage active: the four recurrences step
// together in the lanes of one LaneSections, and the curves run four
// sub-samples at a time.
MURKFELL_INLINE void runSteadySlots(Pipeline& p, int first, int last, const double* u,
                                    double* d) {
    const CircuitCoefficients& c = p.coefficients;
    LaneSections lanes;
    lanes.loadLane(shaperAaLane, c.aa, p.shaperAa);
    lanes.loadLane(couplingLane, c.coupling, p.coupling);
    lanes.loadLane(upAaLane, c.aa, p.upAa);
    lanes.loadLane(downAaLane, c.aa, p.downAa);
    FilterHistory<1> smoothLp = p.smoothLp;
    const int factor = p.factor;
    const double scale = p.scale;

    for (int slot = first; slot <= last; ++slot) {
        Row& upRow = p.rowOf(slot);
        Row& firstRow = p.rowOf(slot + 3);
        Row& secondRow = p.rowOf(slot + 2);
        const Row& downRow = p.rowOf(slot + 1);
        shapeRow(firstCurve, firstRow, factor);
        for (int k = 0; k < factor; ++k)
            secondRow[k] = smoothLp.stepFlushed<1>(c.smoothLp, secondRow[k]);
        for (int k = 0; k < factor; ++k) {
            const Lanes in = {firstRow[k], secondRow[k], k == 0 ? u[slot] : 0.0, downRow[k]};
            Lanes out;
            lanes.output(out, in);
            LaneMask silent;
            silentLanes(silent, out);
            if ((silent[shaperAaLane] | silent[couplingLane]) != 0) [[unlikely]] {
                lanes.flushLaneIfSilent(shaperAaLane, 5, out);
                lanes.flushLaneIfSilent(couplingLane, 4, out);
            }
            lanes.shift(in, out);
            firstRow[k] = out[shaperAaLane];
            secondRow[k] = -secondStageOffset - out[couplingLane];
            upRow[k] = out[upAaLane] * scale;
            if (k == 0) d[slot - 3] = out[downAaLane];
        }
        shapeRow(secondCurve, secondRow, factor);
        lanes.flushOutputsIfSilent(upAaLane);
        lanes.flushOutputsIfSilent(downAaLane);
    }

    lanes.storeLane(shaperAaLane, p.shaperAa);
    lanes.storeLane(couplingLane, p.coupling);
    lanes.storeLane(upAaLane, p.upAa);
    lanes.storeLane(downAaLane, p.downAa);
    p.smoothLp = smoothLp;
}

void runSteadySlotsSse2(Pipeline& p, int first, int last, const double* u, double* d) {
    runSteadySlots(p, first, last, u, d);
}

__attribute__((target("avx2"))) void runSteadySlotsAvx2(Pipeline& p, int first, int last,
                                                        const double* u, double* d) {
    runSteadySlots(p, first, last, u, d);
}

// Turns u[0..frames−1] into the decimated values d[0..frames−1].
void runOversampled(VectorUnit unit, CircuitState& state, int factor, const double* u,
                    double* d, int frames) {
    Pipeline p(state.coefficients, state.histories, factor);
    const int steadyFirst = stageCount - 1, steadyLast = frames - 1;
    for (int slot = 0; slot < frames + stageCount - 1; ++slot) {
        if (slot == steadyFirst && steadyFirst <= steadyLast) {
            if (unit == VectorUnit::avx2)
                runSteadySlotsAvx2(p, steadyFirst, steadyLast, u, d);
            else
                runSteadySlotsSse2(p, steadyFirst, steadyLast, u, d);
            slot = steadyLast;
            continue;
        }
        unsigned active = 0;
        if (slot < frames) active |= upsample;
        if (slot >= 1 && slot - 1 < frames) active |= firstStage;
        if (slot >= 2 && slot - 2 < frames) active |= secondStage;
        if (slot >= 3) active |= downsample;
        runPartialSlot(active, p, slot, u, d);
    }
    p.storeInto(state.histories, frames - 1);
}

// Input high-pass and gain network; hands the inverted gain-stage output to
// the upsampler.
void runHead(CircuitState& state, const float* input, double* u, int frames) {
    const CircuitCoefficients& c = state.coefficients;
    FilterHistory<1> inputHp = state.histories.inputHp;
    FilterHistory<3> gain = state.histories.gain;
    for (int i = 0; i < frames; ++i) {
        const double a = inputHp.stepFlushed<1>(c.inputHp, inputFactor * input[i]);
        u[i] = -gain.stepFlushed<2>(c.gain, a * stageScale + stageOffset);
    }
    state.histories.inputHp = inputHp;
    state.histories.gain = gain;
}

// Tone stack, cabinet, level and output network. Returns the number of
// samples written: all of them, or up to and including the first non-finite
// one, which is written as 0 after every history went back to rest.
int runTail(CircuitState& state, const SignalSettings& settings, const double* d, float* output,
            int frames) {
    const CircuitCoefficients& c = state.coefficients;
    CircuitHistories& h = state.histories;
    FilterHistory<3> tone = h.tone, cabLp1 = h.cabLp1, cabLp2 = h.cabLp2;
    FilterHistory<2> cabHp = h.cabHp;
    FilterHistory<1> outputNetwork = h.output;
    const bool cabinet = settings.cabSimOn == 1;
    const double level = settings.levelGain;
    for (int i = 0; i < frames; ++i) {
        double v = tone.stepFlushed<2>(c.tone, d[i]);
        if (cabinet) {
            v = cabHp.stepFlushed<2>(c.cabHp, v);
            v = cabLp1.stepFlushed<2>(c.cabLp1, v);
            v = cabLp2.stepFlushed<2>(c.cabLp2, v);
        }
        const float out = static_cast<float>(outputNetwork.stepFlushed<1>(c.output, v * level));
        if (!std::isfinite(out)) [[unlikely]] {
            // A non-finite value would stay in the histories for good: restart
            // the circuit from rest and drop this one sample.
            resetToStartingValues(state);
            output[i] = 0.0f;
            return i + 1;
        }
        output[i] = out;
    }
    h.tone = tone;
    h.cabHp = cabHp;
    h.cabLp1 = cabLp1;
    h.cabLp2 = cabLp2;
    h.output = outputNetwork;
    return frames;
}

bool cpuHasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

const VectorUnit widestUnit = cpuHasAvx2() ? VectorUnit::avx2 : VectorUnit::sse2;

}  // namespace

bool isAvailable(VectorUnit unit) {
    return unit == VectorUnit::sse2 || widestUnit == VectorUnit::avx2;
}

void processBlockOn(VectorUnit unit, CircuitState& state, const SignalSettings& settings,
                    const float* input, float* output, int frames) {
    if (frames <= 0) return;
    if (settings.bypassOn != 0) {
        if (input != output) std::memmove(output, input, sizeof(float) * frames);
        return;
    }
    const int factor = std::clamp(settings.oversampling, 1, maxOversampling);
    double u[chunkFrames], d[chunkFrames];
    for (int done = 0; done < frames;) {
        const int chunk = std::min(chunkFrames, frames - done);
        runHead(state, input + done, u, chunk);
        runOversampled(unit, state, factor, u, d, chunk);
        done += runTail(state, settings, d, output + done, chunk);
    }
}

void processBlock(CircuitState& state, const SignalSettings& settings, const float* input,
                  float* output, int frames) {
    processBlockOn(widestUnit, state, settings, input, output, frames);
}

}  // namespace murkfell
