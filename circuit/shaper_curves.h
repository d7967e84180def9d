#pragma once

namespace murkfell {

// Static transfer curves of the two clipping stages: falling, resting near
// 1.25–1.28 around zero input, a rational soft limit below the lower
// breakpoint, a quintic between the breakpoints (both included, and NaN), a
// rational roll-off above the upper one. Constants are single precision.

inline double firstShaper(double u) {
    const double m = u * u;
    if (u < -1.13f)
        return (2.0056038f * u + m + 1.0197593f) / (0.56179774f * m + 1.126499f * u + 0.5728028f);
    if (u > 1.35f)
        return (m - 36.189396f * u + 33.43304f) / (126.888824f - (0.5 * m + 121.287895f * u));
    const double u3 = m * u, u4 = u3 * u, u5 = u4 * u;
    return 0.03224614f * u5 + 0.02104412f * u4 + 0.0042584767f * u3 - 0.15341276f * m -
           0.63454014f * u + 1.2714186f;
}

inline double secondShaper(double e) {
    const double m = e * e;
    if (e < -1.23f)
        return (2.2210956f * e + m + 1.2459359f) / (0.56179774f * m + 1.2476586f * e + 0.6998977f);
    if (e > 1.2f)
        return (m - 124.06629f * e + 48.826015f) / (327.48755f - ((m + m) + 457.99017f * e));
    const double e3 = m * e, e4 = e3 * e, e5 = e4 * e;
    return 0.024866711f * e5 + 0.039066073f * e4 + 0.035630416f * e3 - 0.1615654f * m -
           0.65485764f * e + 1.2523502f;
}

}  // namespace murkfell
