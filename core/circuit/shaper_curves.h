#pragma once

namespace murkfell {

// Static transfer curves of the two clipping stages: falling, resting near
// 1.25–1.28 around zero input, a rational soft limit below the lower
// breakpoint, a quintic between the breakpoints (both included, and NaN), a
// rational roll-off above the upper one. All constants are single precision.
struct ShaperCurve {
  // ((p·x + x²) + q) / ((r·x² + s·x) + t). The upper pieces are written
  // with negated constants (m − c·x as (−c)·x + m, t − (a + b) as
  // (−a + −b) + t), which is exact, so both pieces share one form.
  struct RationalPiece {
    double p, q, r, s, t;
  };
  double lowerBreak, upperBreak;
  RationalPiece lower, upper;
  // c5·x⁵ + c4·x⁴ + c3·x³ − c2·x² − c1·x + c0, summed in that order.
  struct Quintic {
    double c5, c4, c3, c2, c1, c0;
  };
  Quintic polynomial;
};

inline constexpr ShaperCurve firstCurve{
    .lowerBreak = -1.13f,
    .upperBreak = 1.35f,
    .lower = {2.0056038f, 1.0197593f, 0.56179774f, 1.126499f, 0.5728028f},
    .upper = {-36.189396f, 33.43304f, -0.5, -121.287895f, 126.888824f},
    .polynomial = {0.03224614f, 0.02104412f, 0.0042584767f, 0.15341276f, 0.63454014f, 1.2714186f}};

inline constexpr ShaperCurve secondCurve{
    .lowerBreak = -1.23f,
    .upperBreak = 1.2f,
    .lower = {2.2210956f, 1.2459359f, 0.56179774f, 1.2476586f, 0.6998977f},
    .upper = {-124.06629f, 48.826015f, -2.0, -457.99017f, 327.48755f},
    .polynomial = {0.024866711f, 0.039066073f, 0.035630416f, 0.1615654f, 0.65485764f, 1.2523502f}};

inline double rationalPiece(const ShaperCurve::RationalPiece& piece, double x, double m) {
  return ((piece.p * x + m) + piece.q) / ((piece.r * m + piece.s * x) + piece.t);
}

inline double middlePolynomial(const ShaperCurve& curve, double x, double m) {
  const ShaperCurve::Quintic& p = curve.polynomial;
  const double x3 = m * x, x4 = x3 * x, x5 = x4 * x;
  return p.c5 * x5 + p.c4 * x4 + p.c3 * x3 - p.c2 * m - p.c1 * x + p.c0;
}

inline double shape(const ShaperCurve& curve, double x) {
  const double m = x * x;
  if (x < curve.lowerBreak) return rationalPiece(curve.lower, x, m);
  if (x > curve.upperBreak) return rationalPiece(curve.upper, x, m);
  return middlePolynomial(curve, x, m);
}

inline double firstShaper(double u) { return shape(firstCurve, u); }
inline double secondShaper(double e) { return shape(secondCurve, e); }

}  // namespace murkfell
