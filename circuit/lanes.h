#pragma once

#include <cstdint>

#include "circuit/filter_section.h"
#include "circuit/shaper_curves.h"

// Four doubles processed by one instruction stream. Element-wise IEEE
// arithmetic is the same in every lane as in scalar code, so lanes give
// bit-identical results; the compiler maps them onto two SSE2 registers or one
// AVX register depending on the target of the function they are inlined into.

#define MURKFELL_INLINE inline __attribute__((always_inline))

namespace murkfell {

using Lanes = double __attribute__((vector_size(32)));
using LaneMask = std::int64_t __attribute__((vector_size(32)));

MURKFELL_INLINE void broadcast(Lanes& out, double value) { out = Lanes{} + value; }

// Where the mask is set take `ifSet`, elsewhere `ifClear`.
MURKFELL_INLINE void select(Lanes& out, const LaneMask& mask, const Lanes& ifSet,
                            const Lanes& ifClear) {
    out = mask ? ifSet : ifClear;
}

MURKFELL_INLINE void silentLanes(LaneMask& out, const Lanes& values) {
    out = (values > -flushThreshold) & (values < flushThreshold);
}

// One shaper curve on four inputs at once, without branches: the rational
// piece is formed with the constants of the side the input lies on and the
// quintic is taken wherever neither comparison holds (NaN included).
MURKFELL_INLINE void shapeLanes(const ShaperCurve& curve, Lanes& values) {
    const Lanes x = values;
    const Lanes m = x * x;
    const LaneMask below = x < curve.lowerBreak;
    const LaneMask above = x > curve.upperBreak;
    const ShaperCurve::RationalPiece& lo = curve.lower;
    const ShaperCurve::RationalPiece& hi = curve.upper;
    Lanes p, q, r, s, t, lop, hip;
    broadcast(lop, lo.p), broadcast(hip, hi.p), select(p, below, lop, hip);
    broadcast(lop, lo.q), broadcast(hip, hi.q), select(q, below, lop, hip);
    broadcast(lop, lo.r), broadcast(hip, hi.r), select(r, below, lop, hip);
    broadcast(lop, lo.s), broadcast(hip, hi.s), select(s, below, lop, hip);
    broadcast(lop, lo.t), broadcast(hip, hi.t), select(t, below, lop, hip);
    const Lanes rational = ((p * x + m) + q) / ((r * m + s * x) + t);
    const Lanes x3 = m * x, x4 = x3 * x, x5 = x4 * x;
    const Lanes middle =
        curve.c5 * x5 + curve.c4 * x4 + curve.c3 * x3 - curve.c2 * m - curve.c1 * x + curve.c0;
    select(values, below | above, rational, middle);
}

// Sixth-order direct-form-I sections side by side, one per lane, each with
// its own coefficients (a lower-order section has zero coefficients above its
// order). Same term order as FilterHistory::output.
struct LaneSections {
    Lanes b[7], a[6];
    Lanes x[6], y[6];

    MURKFELL_INLINE void output(Lanes& out, const Lanes& in) const {
        Lanes sum = b[0] * in;
        for (int i = 0; i < 6; ++i) sum += b[i + 1] * x[i];
        for (int i = 0; i < 6; ++i) sum -= a[i] * y[i];
        out = sum;
    }

    MURKFELL_INLINE void shift(const Lanes& in, const Lanes& out) {
        for (int i = 5; i > 0; --i) {
            x[i] = x[i - 1];
            y[i] = y[i - 1];
        }
        x[0] = in;
        y[0] = out;
    }

    template <int Order>
    MURKFELL_INLINE void loadLane(int lane, const FilterCoefficients<Order>& c,
                                  const FilterHistory<Order>& h) {
        for (int i = 0; i < 7; ++i) b[i][lane] = i <= Order ? c.b[i] : 0.0;
        for (int i = 0; i < 6; ++i) {
            a[i][lane] = i < Order ? c.a[i] : 0.0;
            x[i][lane] = i < Order ? h.x[i] : 0.0;
            y[i][lane] = i < Order ? h.y[i] : 0.0;
        }
    }

    template <int Order>
    MURKFELL_INLINE void storeLane(int lane, FilterHistory<Order>& h) const {
        for (int i = 0; i < Order; ++i) {
            h.x[i] = x[i][lane];
            h.y[i] = y[i][lane];
        }
    }

    // The flush rule of FilterHistory::stepFlushed for one lane, applied to
    // its new output before the shift.
    MURKFELL_INLINE void flushLaneIfSilent(int lane, int tested, Lanes& out) {
        if (!isBelowFlushThreshold(out[lane])) return;
        for (int i = 0; i < tested; ++i)
            if (!isBelowFlushThreshold(y[i][lane])) return;
        out[lane] = 0.0;
        for (int i = 0; i < tested; ++i) y[i][lane] = 0.0;
    }

    // The block-end flush of the oversampling low-passes for one lane.
    MURKFELL_INLINE void flushOutputsIfSilent(int lane) {
        for (int i = 0; i < 6; ++i)
            if (!isBelowFlushThreshold(y[i][lane])) return;
        for (int i = 0; i < 6; ++i) y[i][lane] = 0.0;
    }
};

}  // namespace murkfell
