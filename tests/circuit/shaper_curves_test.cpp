#include "circuit/shaper_curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace murkfell {
namespace {

void expectSevenDigits(double expected, double actual) {
    EXPECT_NEAR(expected, actual, 5e-7 * std::abs(expected));
}

TEST(ShaperCurves, ReferenceTable) {
    struct Row { double in, first, second; };
    const Row rows[] = {{-2, 1.778765, 1.779096},   {-1, 1.737085, 1.724211},
                        {0, 1.271419, 1.252350},    {1, 0.5410144, 0.5354904},
                        {2, 0.2969382, 0.3274249},  {10, 0.2011117, 0.2452236}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.in);
        expectSevenDigits(row.first, firstShaper(row.in));
        expectSevenDigits(row.second, secondShaper(row.in));
    }
    expectSevenDigits(1.277642, secondShaper(-double(0.039f)));
}

// The middle quintic evaluated on its own, to tell which piece a value took.
double firstQuintic(double u) {
    return 0.03224614f * u * u * u * u * u + 0.02104412f * u * u * u * u +
           0.0042584767f * u * u * u - 0.15341276f * u * u - 0.63454014f * u + 1.2714186f;
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

TEST(ShaperCurves, PiecesMeetAndTheCurvesFallAndLimit) {
    EXPECT_LT(std::abs(firstShaper(std::nextafter(double(1.35f), 2.0)) - firstShaper(1.35f)), 1e-7);
    EXPECT_LT(std::abs(secondShaper(std::nextafter(double(1.2f), 2.0)) - secondShaper(1.2f)), 1e-7);
    double previousFirst = firstShaper(-50.0), previousSecond = secondShaper(-50.0);
    for (double x = -50.0; x <= 200.0; x += 0.01) {
        // The second curve's lower piece dips below the quintic just under −1.23.
        const bool secondDip = x > -1.2302 && x <= -1.23;
        EXPECT_LE(firstShaper(x), previousFirst) << x;
        if (!secondDip) {
            EXPECT_LE(secondShaper(x), previousSecond) << x;
        }
        previousFirst = firstShaper(x);
        previousSecond = secondShaper(x);
    }
    EXPECT_NEAR(firstShaper(-1e9), 1 / double(0.56179774f), 1e-6);
    EXPECT_NEAR(firstShaper(1e9), -2.0, 1e-6);
    EXPECT_NEAR(secondShaper(1e9), -0.5, 1e-6);
}

TEST(ShaperCurves, NanGoesThroughTheMiddlePieceAsNan) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(firstShaper(nan)));
    EXPECT_TRUE(std::isnan(secondShaper(nan)));
}

}  // namespace
}  // namespace murkfell
