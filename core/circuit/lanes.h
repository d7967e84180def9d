#pragma once

#include <cstdint>

#include "core/circuit/always_inline.h"
#include "core/circuit/filter_section.h"
#include "core/circuit/shaper_curves.h"

// Four doubles worked on by one instruction stream: one AVX register
// (Double4) or a pair of SSE2 registers (DoublePair). Element-wise IEEE
// arithmetic gives the same bits in every lane as scalar code does.
//
// Helpers that produce a lane value write it through a reference: returning a
// 32-byte vector from a function compiled for the baseline target would
// change the calling convention.

namespace murkfell {

using Double2 = double __attribute__((vector_size(16)));
using Mask2 = std::int64_t __attribute__((vector_size(16)));
using Double4 = double __attribute__((vector_size(32)));
using Mask4 = std::int64_t __attribute__((vector_size(32)));

struct DoublePair {
  Double2 low, high;
};
struct MaskPair {
  Mask2 low, high;
};

#define MURKFELL_PAIR_OPERATOR(Result, Operand, op)                        \
  MURKFELL_INLINE Result operator op(const Operand& l, const Operand& r) { \
    return {l.low op r.low, l.high op r.high};                             \
  }
MURKFELL_PAIR_OPERATOR(DoublePair, DoublePair, +)
MURKFELL_PAIR_OPERATOR(DoublePair, DoublePair, -)
MURKFELL_PAIR_OPERATOR(DoublePair, DoublePair, *)
MURKFELL_PAIR_OPERATOR(DoublePair, DoublePair, /)
MURKFELL_PAIR_OPERATOR(MaskPair, DoublePair, <)
MURKFELL_PAIR_OPERATOR(MaskPair, DoublePair, >)
MURKFELL_PAIR_OPERATOR(MaskPair, MaskPair, &)
MURKFELL_PAIR_OPERATOR(MaskPair, MaskPair, |)
MURKFELL_PAIR_OPERATOR(MaskPair, MaskPair, ^)
#undef MURKFELL_PAIR_OPERATOR

MURKFELL_INLINE DoublePair& operator+=(DoublePair& l, const DoublePair& r) { return l = l + r; }
MURKFELL_INLINE DoublePair& operator-=(DoublePair& l, const DoublePair& r) { return l = l - r; }

template <class V>
struct MaskOf;
template <>
struct MaskOf<Double4> {
  using type = Mask4;
};
template <>
struct MaskOf<DoublePair> {
  using type = MaskPair;
};
template <class V>
using Mask = typename MaskOf<V>::type;

// The same bits seen as a mask or as values.
MURKFELL_INLINE void bitsOf(Mask4& out, const Double4& v) { out = (Mask4)v; }
MURKFELL_INLINE void bitsOf(MaskPair& out, const DoublePair& v) {
  out = {(Mask2)v.low, (Mask2)v.high};
}
MURKFELL_INLINE void fromBits(Double4& out, const Mask4& m) { out = (Double4)m; }
MURKFELL_INLINE void fromBits(DoublePair& out, const MaskPair& m) {
  out = {(Double2)m.low, (Double2)m.high};
}

MURKFELL_INLINE void broadcast(Double4& out, double value) { out = Double4{} + value; }
MURKFELL_INLINE void broadcast(DoublePair& out, double value) {
  out.low = Double2{} + value;
  out.high = Double2{} + value;
}

MURKFELL_INLINE void gather(Double4& out, double a, double b, double c, double d) {
  out = Double4{a, b, c, d};
}
MURKFELL_INLINE void gather(DoublePair& out, double a, double b, double c, double d) {
  out.low = Double2{a, b};
  out.high = Double2{c, d};
}

MURKFELL_INLINE double lane(const Double4& v, int i) { return v[i]; }
MURKFELL_INLINE double lane(const DoublePair& v, int i) { return i < 2 ? v.low[i] : v.high[i - 2]; }
MURKFELL_INLINE void setLane(Double4& v, int i, double value) { v[i] = value; }
MURKFELL_INLINE void setLane(DoublePair& v, int i, double value) {
  if (i < 2)
    v.low[i] = value;
  else
    v.high[i - 2] = value;
}

// Lanes strictly inside the flush bound, tested as |v| < bound: one
// compare, the same decisions as the two-sided test (NaN never silent).
MURKFELL_INLINE void silentLanes(Mask2& out, const Double2& v) {
  out = (Double2)((Mask2)v & (std::int64_t)magnitudeBits) < flushThreshold;
}
MURKFELL_INLINE void silentLanes(Mask4& out, const Double4& v) {
  out = (Double4)((Mask4)v & (std::int64_t)magnitudeBits) < flushThreshold;
}
MURKFELL_INLINE void silentLanes(MaskPair& out, const DoublePair& v) {
  silentLanes(out.low, v.low);
  silentLanes(out.high, v.high);
}

// Whether lane 0 or lane 1 lies strictly inside the flush bound.
MURKFELL_INLINE bool eitherOfFirstTwoSilent(const Double2& low) {
  Mask2 silent;
  silentLanes(silent, low);
  return __builtin_ia32_movmskpd((Double2)silent) != 0;
}
MURKFELL_INLINE bool eitherOfFirstTwoSilent(const Double4& v) {
  return eitherOfFirstTwoSilent(Double2{v[0], v[1]});
}
MURKFELL_INLINE bool eitherOfFirstTwoSilent(const DoublePair& v) {
  return eitherOfFirstTwoSilent(v.low);
}

MURKFELL_INLINE void gatherMask(Mask4& out, bool a, bool b, bool c, bool d) {
  out = Mask4{-std::int64_t{a}, -std::int64_t{b}, -std::int64_t{c}, -std::int64_t{d}};
}
MURKFELL_INLINE void gatherMask(MaskPair& out, bool a, bool b, bool c, bool d) {
  out.low = Mask2{-std::int64_t{a}, -std::int64_t{b}};
  out.high = Mask2{-std::int64_t{c}, -std::int64_t{d}};
}
MURKFELL_INLINE MaskPair operator~(const MaskPair& m) { return {~m.low, ~m.high}; }

// Where the mask is set take `ifSet`, elsewhere `ifClear`.
MURKFELL_INLINE void select(Double4& out, const Mask4& mask, const Double4& ifSet,
                            const Double4& ifClear) {
  out = mask ? ifSet : ifClear;
}
MURKFELL_INLINE void select(DoublePair& out, const MaskPair& mask, const DoublePair& ifSet,
                            const DoublePair& ifClear) {
  out.low = mask.low ? ifSet.low : ifClear.low;
  out.high = mask.high ? ifSet.high : ifClear.high;
}

// A constant of the rational pieces: one value below the lower breakpoint,
// another above the upper one, picked per lane with two bit operations
// (which any pipe runs, unlike blends, which share the multiply pipes with
// the recurrences).
template <class V>
struct PieceConstant {
  MURKFELL_INLINE void set(double lowerValue, double upperValue) {
    V lower, upper;
    broadcast(lower, lowerValue);
    broadcast(upper, upperValue);
    Mask<V> lowerBits;
    bitsOf(lowerBits, lower);
    bitsOf(upperBits, upper);
    difference = lowerBits ^ upperBits;
  }
  MURKFELL_INLINE void pick(V& out, const Mask<V>& below) const {
    fromBits(out, upperBits ^ (below & difference));
  }
  Mask<V> upperBits;
  Mask<V> difference;  // the bits in which the two values differ
};

// A shaper curve's constants spread over the lanes, made once per block.
template <class V>
struct LaneCurve {
  MURKFELL_INLINE explicit LaneCurve(const ShaperCurve& curve) {
    broadcast(lowerBreak, curve.lowerBreak), broadcast(upperBreak, curve.upperBreak);
    const ShaperCurve::RationalPiece& lo = curve.lower;
    const ShaperCurve::RationalPiece& hi = curve.upper;
    piece[0].set(lo.p, hi.p), piece[1].set(lo.q, hi.q), piece[2].set(lo.r, hi.r);
    piece[3].set(lo.s, hi.s), piece[4].set(lo.t, hi.t);
    const ShaperCurve::Quintic& p = curve.polynomial;
    broadcast(c5, p.c5), broadcast(c4, p.c4), broadcast(c3, p.c3);
    broadcast(c2, p.c2), broadcast(c1, p.c1), broadcast(c0, p.c0);
  }

  V lowerBreak, upperBreak;
  PieceConstant<V> piece[5];  // p, q, r, s, t
  V c5, c4, c3, c2, c1, c0;
};

// Whether the mask is set in any lane, in every lane. Built from 128-bit
// halves: the 256-bit instruction would tie every generic caller to AVX.
MURKFELL_INLINE bool anyLane(const Mask4& m) {
  return __builtin_ia32_movmskpd((Double2)(Mask2{m[0], m[1]} | Mask2{m[2], m[3]})) != 0;
}
MURKFELL_INLINE bool anyLane(const MaskPair& m) {
  return __builtin_ia32_movmskpd((Double2)(m.low | m.high)) != 0;
}
MURKFELL_INLINE bool everyLane(const Mask4& m) {
  return __builtin_ia32_movmskpd((Double2)(Mask2{m[0], m[1]} & Mask2{m[2], m[3]})) == 0b11;
}
MURKFELL_INLINE bool everyLane(const MaskPair& m) {
  return __builtin_ia32_movmskpd((Double2)(m.low & m.high)) == 0b11;
}

template <class V>
MURKFELL_INLINE void rationalPiece(const LaneCurve<V>& curve, const Mask<V>& below, const V& x,
                                   const V& m, V& out) {
  V p, q, r, s, t;
  curve.piece[0].pick(p, below), curve.piece[1].pick(q, below), curve.piece[2].pick(r, below);
  curve.piece[3].pick(s, below), curve.piece[4].pick(t, below);
  out = ((p * x + m) + q) / ((r * m + s * x) + t);
}

template <class V>
MURKFELL_INLINE void middlePolynomial(const LaneCurve<V>& curve, const V& x, const V& m, V& out) {
  const V x3 = m * x, x4 = x3 * x, x5 = x4 * x;
  out = curve.c5 * x5 + curve.c4 * x4 + curve.c3 * x3 - curve.c2 * m - curve.c1 * x + curve.c0;
}

// One shaper curve on four inputs at once: the rational piece is formed
// with the constants of the side each input lies on, and the quintic is
// taken wherever neither comparison holds (NaN included). A form no lane
// takes is not computed at all; signals stay on one side for long runs.
template <class V>
MURKFELL_INLINE void shapeLanes(const LaneCurve<V>& curve, V& values) {
  const V x = values;
  const V m = x * x;
  const Mask<V> below = x < curve.lowerBreak;
  const Mask<V> outside = below | (x > curve.upperBreak);
  if (!anyLane(outside)) {
    middlePolynomial(curve, x, m, values);
  } else if (everyLane(outside)) {
    rationalPiece(curve, below, x, m, values);
  } else {
    V rational, middle;
    rationalPiece(curve, below, x, m, rational);
    middlePolynomial(curve, x, m, middle);
    select(values, outside, rational, middle);
  }
}

// Sections of order N or less side by side, one per lane, each with its own
// coefficients (a lower-order section has zero coefficients above its
// order). Same term order as FilterHistory::output.
template <class V, int N>
struct LaneSections {
  V b[N + 1]{}, a[N]{};
  V x[N]{}, y[N]{};

  MURKFELL_INLINE void output(V& out, const V& in) const {
    V sum = b[0] * in;
    for (int i = 0; i < N; ++i) sum += b[i + 1] * x[i];
    for (int i = 0; i < N; ++i) sum -= a[i] * y[i];
    out = sum;
  }

  MURKFELL_INLINE void shift(const V& in, const V& out) {
    for (int i = N - 1; i > 0; --i) {
      x[i] = x[i - 1];
      y[i] = y[i - 1];
    }
    x[0] = in;
    y[0] = out;
  }

  template <int Order>
  MURKFELL_INLINE void loadLane(int index, const FilterCoefficients<Order>& c,
                                const FilterHistory<Order>& h) {
    static_assert(Order <= N);
    for (int i = 0; i <= N; ++i) setLane(b[i], index, i <= Order ? c.b[i] : 0.0);
    for (int i = 0; i < N; ++i) {
      setLane(a[i], index, i < Order ? c.a[i] : 0.0);
      setLane(x[i], index, i < Order ? h.x[i] : 0.0);
      setLane(y[i], index, i < Order ? h.y[i] : 0.0);
    }
  }

  template <int Order>
  MURKFELL_INLINE void storeLane(int index, FilterHistory<Order>& h) const {
    for (int i = 0; i < Order; ++i) {
      h.x[i] = lane(x[i], index);
      h.y[i] = lane(y[i], index);
    }
  }

  // The flush rule of FilterHistory::stepFlushed, applied before the shift
  // to the new outputs of the lanes set in `lanes`, where lane i tests the
  // tested[i] most recent previous outputs. Works on whole registers, so
  // the histories never have to live in memory.
  MURKFELL_INLINE void flushSilentLanes(const Mask<V>& lanes, const int (&tested)[4], V& out) {
    Mask<V> flush, quiet;
    silentLanes(quiet, out);
    flush = lanes & quiet;
    for (int i = 0; i < N; ++i) {
      Mask<V> testedHere;
      gatherMask(testedHere, i < tested[0], i < tested[1], i < tested[2], i < tested[3]);
      silentLanes(quiet, y[i]);
      flush = flush & (quiet | ~testedHere);
    }
    V zero{};
    select(out, flush, zero, out);
    for (int i = 0; i < N; ++i) {
      Mask<V> testedHere;
      gatherMask(testedHere, i < tested[0], i < tested[1], i < tested[2], i < tested[3]);
      select(y[i], flush & testedHere, zero, y[i]);
    }
  }

  // The block-end flush of the oversampling low-passes: every lane set in
  // `lanes` whose N previous outputs are all silent gets them zeroed. The
  // most recent output alone rules out nearly every lane.
  MURKFELL_INLINE void flushOutputsIfSilent(const Mask<V>& lanes) {
    Mask<V> flush, quiet;
    silentLanes(quiet, y[0]);
    flush = lanes & quiet;
    if (!anyLane(flush)) [[likely]]
      return;
    for (int i = 1; i < N; ++i) {
      silentLanes(quiet, y[i]);
      flush = flush & quiet;
    }
    V zero{};
    for (int i = 0; i < N; ++i) select(y[i], flush, zero, y[i]);
  }

  // Lanes clear in `kept` get their histories back from `saved`, as if
  // the steps since then had run only in the lanes set in `kept`.
  MURKFELL_INLINE void restoreLanes(const LaneSections& saved, const Mask<V>& kept) {
    for (int i = 0; i < N; ++i) {
      select(x[i], kept, x[i], saved.x[i]);
      select(y[i], kept, y[i], saved.y[i]);
    }
  }
};

}  // namespace murkfell
