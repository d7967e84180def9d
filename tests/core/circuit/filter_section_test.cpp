#include "core/circuit/filter_section.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "core/circuit/circuit_state.h"
#include "core/circuit/coefficient_design.h"
#include "oversampling.h"

namespace murkfell {
namespace {

using reference::decimate;
using reference::interpolate;

// A section whose step output equals b0·x (no memory), so the new output is
// chosen directly while the previous outputs are set by hand.
FilterCoefficients<3> passThrough() {
  FilterCoefficients<3> c;
  c.b = {1.0, 0.0, 0.0, 0.0};
  c.a = {0.0, 0.0, 0.0};
  return c;
}

TEST(FilterSection, FlushRuleExamples) {
  FilterHistory<3> h;
  h.y = {-3e-16, 9e-16, 0.5};  // Y3 is not among the tested outputs
  EXPECT_EQ(h.stepFlushed<2>(passThrough(), 5e-16), 0.0);
  EXPECT_EQ(h.y[0], 0.0);
  EXPECT_EQ(h.y[1], 0.0);
  EXPECT_EQ(h.y[2], 0.0);
  EXPECT_FALSE(std::signbit(h.y[1]));

  // The bound is exclusive, for the new and for the tested previous outputs.
  h.y = {-3e-16, 9e-16, 0.0};
  EXPECT_EQ(h.stepFlushed<2>(passThrough(), 1e-15), 1e-15);
  EXPECT_EQ(h.y[1], -3e-16);
  h.y = {-1e-15, 9e-16, 0.0};
  EXPECT_EQ(h.stepFlushed<2>(passThrough(), 5e-16), 5e-16);
  h.y = {-3e-16, 2e-15, 0.0};
  EXPECT_EQ(h.stepFlushed<2>(passThrough(), 5e-16), 5e-16);

  // Input histories are never flushed.
  EXPECT_EQ(h.x[0], 5e-16);
}

// The silence test compares magnitude bits; it must decide as the plain
// two-sided comparison does, around the bound and for every kind of value.
TEST(FilterSection, SilenceTestDecidesAsTheTwoSidedComparison) {
  const double bound = flushThreshold;
  const double values[] = {0.0,
                           -0.0,
                           bound,
                           -bound,
                           std::nextafter(bound, 0.0),
                           -std::nextafter(bound, 0.0),
                           std::nextafter(bound, 1.0),
                           std::numeric_limits<double>::denorm_min(),
                           -std::numeric_limits<double>::denorm_min(),
                           1.0,
                           -1.0,
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN(),
                           -std::numeric_limits<double>::quiet_NaN(),
                           std::bit_cast<double>(0x7ff0000000000001ULL)};  // signalling NaN
  for (double value : values)
    EXPECT_EQ(isBelowFlushThreshold(value), value > -bound && value < bound) << value;
}

TEST(FilterSection, StepSumsFeedForwardThenSubtractsFeedback) {
  FilterCoefficients<2> c;
  c.b = {0.5, 0.25, -0.125};
  c.a = {-0.5, 0.25};
  FilterHistory<2> h;
  h.x = {2.0, 4.0};
  h.y = {1.0, -2.0};
  const double y = h.step(c, 8.0);
  EXPECT_EQ(y, 4.0 + 0.5 - 0.5 + 0.5 + 0.5);
  EXPECT_EQ(h.x, (std::array<double, 2>{8.0, 2.0}));
  EXPECT_EQ(h.y, (std::array<double, 2>{y, 1.0}));
  // NaN never counts as silent.
  h.y = {std::numeric_limits<double>::quiet_NaN(), 0.0};
  EXPECT_TRUE(std::isnan(h.stepFlushed<2>(c, 0.0)));
}

class Oversampling : public ::testing::Test {
 protected:
  void SetUp() override {
    resetToStartingValues(state);
    recomputeCoefficients(state, 44100.0f, 12, {});
  }
  CircuitState state{};
};

TEST_F(Oversampling, InterpolatorCarriesTheImpulseResponseTimesTheFactor) {
  for (int factor : {7, 12}) {
    SetUp();
    state.histories.overBuffer.fill(-7.0);
    FilterHistory<6> reference;  // the same low-pass fed an impulse by hand
    const double u = 0.3;
    interpolate(state, u, factor);
    EXPECT_EQ(state.histories.overBuffer[0], state.coefficients.aa.b[0] * u * factor);
    // Later entries differ from the scaled unit impulse response by rounding only.
    for (int k = 0; k < factor; ++k)
      EXPECT_NEAR(state.histories.overBuffer[k],
                  factor * u * reference.step(state.coefficients.aa, k == 0 ? 1.0 : 0.0), 1e-12)
          << k;
    for (int k = factor; k < maxOversampling; ++k) EXPECT_EQ(state.histories.overBuffer[k], -7.0);
    interpolate(state, 0.0, factor);  // the response continues into the next block
    EXPECT_NEAR(state.histories.overBuffer[0],
                factor * u * reference.step(state.coefficients.aa, 0.0), 1e-12);
  }
}

TEST_F(Oversampling, InterpolatorFlushesItsDecayedTailToExactZeros) {
  interpolate(state, 1.0, 12);
  int blocks = 0;
  while (state.histories.upAa.y != std::array<double, 6>{} && blocks < 100000) {
    interpolate(state, 0.0, 12);
    ++blocks;
  }
  EXPECT_LT(blocks, 100000);
  interpolate(state, 0.0, 12);
  for (int k = 0; k < 12; ++k) EXPECT_EQ(state.histories.overBuffer[k], 0.0);
}

TEST_F(Oversampling, DecimatorAnswersSubSampleZeroAndLaterOnesArriveNextTime) {
  CircuitState quiet = state;
  state.histories.overBuffer.fill(resting::secondStageSingle);
  quiet.histories.overBuffer.fill(resting::secondStageSingle);
  state.histories.overBuffer[5] = 1000.0;  // a large value late in the block
  const double loud = decimate(state, 12);
  EXPECT_EQ(loud, decimate(quiet, 12));
  EXPECT_NEAR(loud, resting::secondStageSingle, 1e-9);  // rests at its starting values
  state.histories.overBuffer.fill(resting::secondStageSingle);
  quiet.histories.overBuffer.fill(resting::secondStageSingle);
  EXPECT_GT(std::abs(decimate(state, 12) - decimate(quiet, 12)), 1e-6);
}

}  // namespace
}  // namespace murkfell
