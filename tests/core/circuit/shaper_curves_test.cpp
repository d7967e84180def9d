#include "core/circuit/shaper_curves.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/circuit/lanes.h"

namespace murkfell {
namespace {

void expectSevenDigits(double expected, double actual) {
  EXPECT_NEAR(expected, actual, 5e-7 * std::abs(expected));
}

TEST(ShaperCurves, ReferenceTable) {
  struct Row {
    double in, first, second;
  };
  const Row rows[] = {{-2, 1.778765, 1.779096},  {-1, 1.737085, 1.724211},
                      {0, 1.271419, 1.252350},   {1, 0.5410144, 0.5354904},
                      {2, 0.2969382, 0.3274249}, {10, 0.2011117, 0.2452236}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.in);
    expectSevenDigits(row.first, firstShaper(row.in));
    expectSevenDigits(row.second, secondShaper(row.in));
  }
  expectSevenDigits(1.277642, secondShaper(-double(0.039f)));
}

// The middle quintic evaluated on its own, to tell which piece a value took.
double firstQuintic(double u) {
  return 0.03224614f * u * u * u * u * u + 0.02104412f * u * u * u * u + 0.0042584767f * u * u * u -
         0.15341276f * u * u - 0.63454014f * u + 1.2714186f;
}
double secondQuintic(double e) {
  return 0.024866711f * e * e * e * e * e + 0.039066073f * e * e * e * e +
         0.035630416f * e * e * e - 0.1615654f * e * e - 0.65485764f * e + 1.2523502f;
}

TEST(ShaperCurves, BreakpointsBelongToTheMiddlePiece) {
  for (double u : {double(-1.13f), double(1.35f)})
    EXPECT_NEAR(firstShaper(u), firstQuintic(u), 1e-12) << u;
  for (double e : {double(-1.23f), double(1.2f)})
    EXPECT_NEAR(secondShaper(e), secondQuintic(e), 1e-12) << e;
  // Just outside, the other piece answers: at the lower breakpoints it sits
  // a few millionths away from the quintic.
  const double belowFirst = std::nextafter(double(-1.13f), -2.0);
  const double belowSecond = std::nextafter(double(-1.23f), -2.0);
  EXPECT_NEAR(std::abs(firstShaper(belowFirst) - firstQuintic(belowFirst)), 4.3e-6, 0.5e-6);
  EXPECT_NEAR(std::abs(secondShaper(belowSecond) - secondQuintic(belowSecond)), 1.6e-5, 0.2e-5);
}

TEST(ShaperCurves, NanGoesThroughTheMiddlePieceAsNan) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(std::isnan(firstShaper(nan)));
  EXPECT_TRUE(std::isnan(secondShaper(nan)));
}

// The curves written term by term in their natural order, upper pieces as
// (m − c·x + q) / (t − (a·m + b·x)).
double literalFirst(double u) {
  const double m = u * u;
  if (u < -1.13f)
    return (2.0056038f * u + m + 1.0197593f) / (0.56179774f * m + 1.126499f * u + 0.5728028f);
  if (u > 1.35f)
    return (m - 36.189396f * u + 33.43304f) / (126.888824f - (0.5 * m + 121.287895f * u));
  const double u3 = m * u, u4 = u3 * u, u5 = u4 * u;
  return 0.03224614f * u5 + 0.02104412f * u4 + 0.0042584767f * u3 - 0.15341276f * m -
         0.63454014f * u + 1.2714186f;
}
double literalSecond(double e) {
  const double m = e * e;
  if (e < -1.23f)
    return (2.2210956f * e + m + 1.2459359f) / (0.56179774f * m + 1.2476586f * e + 0.6998977f);
  if (e > 1.2f)
    return (m - 124.06629f * e + 48.826015f) / (327.48755f - ((m + m) + 457.99017f * e));
  const double e3 = m * e, e4 = e3 * e, e5 = e4 * e;
  return 0.024866711f * e5 + 0.039066073f * e4 + 0.035630416f * e3 - 0.1615654f * m -
         0.65485764f * e + 1.2523502f;
}

TEST(ShaperCurves, SharedRationalFormIsBitIdenticalToTheNaturalOrder) {
  std::uint64_t seed = 12345;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    const double x = (static_cast<double>(seed >> 11) * 0x1.0p-53 - 0.5) * (i % 2 ? 8.0 : 600.0);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(firstShaper(x)),
              std::bit_cast<std::uint64_t>(literalFirst(x)))
        << x;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(secondShaper(x)),
              std::bit_cast<std::uint64_t>(literalSecond(x)))
        << x;
  }
}

// The four-lane form used by the loop must give the same bits as the scalar
// curves, including at the breakpoints and for NaN and infinities, for
// groups of four that all take the quintic, all take a rational piece, or
// mix them (the loop skips what no lane takes).
template <class V>
void expectLanesMatchScalar(const ShaperCurve& curve) {
  const LaneCurve<V> lanes(curve);
  std::vector<double> inputs = {curve.lowerBreak,
                                curve.upperBreak,
                                std::nextafter(curve.lowerBreak, -2.0),
                                std::nextafter(curve.upperBreak, 2.0),
                                0.0,
                                -0.0,
                                std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                1e300,
                                -1e300};
  while (inputs.size() % 4 != 0) inputs.push_back(0.5);
  std::uint64_t seed = 777;
  const auto uniform = [&seed](double low, double high) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return low + (high - low) * (static_cast<double>(seed >> 11) * 0x1.0p-53);
  };
  const double ranges[][2] = {{curve.lowerBreak, curve.upperBreak},  // all quintic
                              {-10.0, curve.lowerBreak},             // all lower piece
                              {curve.upperBreak, 10.0},              // all upper piece
                              {-10.0, 10.0}};                        // mixed
  for (int group = 0; group < 1000; ++group)
    for (int k = 0; k < 4; ++k)
      inputs.push_back(uniform(ranges[group % 4][0], ranges[group % 4][1]));
  for (std::size_t i = 0; i < inputs.size(); i += 4) {
    V four;
    gather(four, inputs[i], inputs[i + 1], inputs[i + 2], inputs[i + 3]);
    shapeLanes(lanes, four);
    for (int k = 0; k < 4; ++k) {
      const double expected = shape(curve, inputs[i + k]);
      if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(lane(four, k))) << inputs[i + k];
      } else {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(lane(four, k)),
                  std::bit_cast<std::uint64_t>(expected))
            << inputs[i + k];
      }
    }
  }
}

TEST(ShaperCurves, LaneFormMatchesTheScalarCurves) {
  expectLanesMatchScalar<DoublePair>(firstCurve);
  expectLanesMatchScalar<DoublePair>(secondCurve);
  expectLanesMatchScalar<Double4>(firstCurve);
  expectLanesMatchScalar<Double4>(secondCurve);
}

}  // namespace
}  // namespace murkfell
