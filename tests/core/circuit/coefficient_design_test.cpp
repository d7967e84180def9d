#include "core/circuit/coefficient_design.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <vector>

#include "core/circuit/audio_taper.h"
#include "core/circuit/bilinear_transform.h"

namespace murkfell {
namespace {

using Complex = std::complex<double>;

// Relative tolerance of half a unit in the last of `digits` significant digits.
void expectDigits(double expected, double actual, int digits) {
  const double tolerance = 0.5 * std::pow(10.0, 1 - digits) * std::abs(expected);
  EXPECT_NEAR(expected, actual, tolerance) << "to " << digits << " digits";
}

CircuitState designed(float rate, int factor, const KnobSettings& knobs = {}) {
  CircuitState state{};
  recomputeCoefficients(state, rate, factor, knobs);
  return state;
}

template <int Order>
Complex digitalResponse(const FilterCoefficients<Order>& c, double omega) {
  const Complex zInv = std::polar(1.0, -omega);
  Complex num = 0.0, den = 1.0, power = 1.0;
  for (int j = 0; j <= Order; ++j) {
    num += c.b[j] * power;
    if (j > 0) den += c.a[j - 1] * power;
    power *= zInv;
  }
  return num / den;
}

Complex analogResponse(const std::vector<double>& num, const std::vector<double>& den, Complex s) {
  const auto eval = [s](const std::vector<double>& p) {
    Complex sum = 0.0;
    for (auto it = p.rbegin(); it != p.rend(); ++it) sum = sum * s + *it;
    return sum;
  };
  return eval(num) / eval(den);
}

// The section must match the analog prototype at the bilinear-warped
// frequency, which pins the prototype polynomials down at every frequency.
template <int Order>
void expectPrototype(const FilterCoefficients<Order>& c, double rate,
                     const std::vector<double>& num, const std::vector<double>& den,
                     double tolerance) {
  for (double hz : {20.0, 100.0, 440.0, 1000.0, 3000.0, 7000.0, 12000.0}) {
    const double omega = 2 * std::numbers::pi * hz / rate;
    const Complex s(0.0, 2 * rate * std::tan(omega / 2));
    const Complex expected = analogResponse(num, den, s);
    const Complex actual = digitalResponse(c, omega);
    EXPECT_LT(std::abs(actual - expected), tolerance * std::abs(expected)) << hz << " Hz";
  }
}

TEST(CoefficientDesign, QuotedFirstOrderSetsAt44100Factor12) {
  const CircuitCoefficients c = designed(44100.0f, 12).coefficients;
  expectDigits(0.999487005335733, c.inputHp.b[0], 15);
  expectDigits(-0.999487005335733, c.inputHp.b[1], 15);
  expectDigits(-0.998974010671466, c.inputHp.a[0], 15);
  expectDigits(0.024640155696588402, c.smoothLp.b[0], 17);
  expectDigits(0.024640155696588402, c.smoothLp.b[1], 17);
  expectDigits(-0.9507196886068232, c.smoothLp.a[0], 16);
  expectDigits(1.4457459696347061, c.output.b[0], 17);
  expectDigits(-0.2841049578594113, c.output.b[1], 16);
  expectDigits(-0.7298509274941175, c.output.a[0], 16);
}

TEST(CoefficientDesign, QuotedHigherOrderSetsAt44100Factor12) {
  const CircuitCoefficients c = designed(44100.0f, 12).coefficients;
  const double gainB[] = {-3.34988191970, -3.34558885639, 3.34411847089, 3.33982540758};
  const double gainA[] = {0.243211773576, -0.971168651463, -0.216997753066};
  const double toneB[] = {0.510120510361, -1.47163076954, 1.41611521859, -0.454604959417};
  const double toneA[] = {-2.76509719245, 2.53646035565, -0.771339269151};
  for (int j = 0; j < 4; ++j) expectDigits(gainB[j], c.gain.b[j], 12);
  for (int j = 0; j < 3; ++j) expectDigits(gainA[j], c.gain.a[j], 12);
  for (int j = 0; j < 4; ++j) expectDigits(toneB[j], c.tone.b[j], 12);
  for (int j = 0; j < 3; ++j) expectDigits(toneA[j], c.tone.a[j], 12);
  expectDigits(0.000333097064626, c.aa.b[0], 12);
  expectDigits(0.000333097064626, c.aa.b[6], 12);
  expectDigits(-0.00470801876205, c.aa.b[3], 12);
  expectDigits(-5.53426601503, c.aa.a[0], 12);
  expectDigits(0.627429062537, c.aa.a[5], 12);
  expectDigits(0.994772398281, c.cabHp.b[0], 12);
  expectDigits(0.994772398281, c.cabHp.b[2], 12);
  expectDigits(-2 * 0.994772398281, c.cabHp.b[1], 12);
  expectDigits(-1.98946477449, c.cabHp.a[0], 12);
  expectDigits(0.989624818630, c.cabHp.a[1], 12);
  // An even analog numerator gives a symmetric digital one.
  EXPECT_DOUBLE_EQ(c.aa.b[1], c.aa.b[5]);
  EXPECT_DOUBLE_EQ(c.aa.b[2], c.aa.b[4]);
}

TEST(CoefficientDesign, SectionsFollowTheirAnalogPrototypes) {
  for (float rate : {44100.0f, 96000.0f}) {
    const int factor = oversamplingFor(rate);
    const double over = double(rate) * factor;
    const CircuitCoefficients c = designed(rate, factor).coefficients;
    SCOPED_TRACE(rate);
    expectPrototype(c.coupling, over,
                    {0, -0.0611, -2.31909419872e-5, -9.99393709142e-10, -5.7041610912e-17},
                    {1, 0.009291365152, 2.02702321338e-6, 9.37934263184e-11, 1.24232764725e-15,
                     3.19433021107e-23},
                    1e-6);
    const std::vector<double> cabNum{1, 8.13333333e-7, 4.488e-10};
    expectPrototype(c.cabLp1, rate, cabNum, {1, 4.75633333e-5, 1.945724e-9, 3.371544e-14}, 1e-6);
    expectPrototype(c.cabLp2, rate, cabNum, {1, 6.40633333e-5, 2.097084e-9, 4.93970400e-14}, 1e-6);
    expectPrototype(c.aa, over,
                    {1, 0, 7.65306122449e-11, 0, 1.46423365264e-21, 0, 4.15032214468e-33},
                    {1, 5.61316504569e-5, 1.65191170376e-9, 3.13485509044e-14, 3.99632464152e-19,
                     3.23881416868e-24, 1.31244710006e-29},
                    1e-7);
    expectPrototype(c.tone, rate, {0, 0.00305127340, 1.19466946e-6, 2.34987068e-10},
                    {1, 0.00591246775, 4.92054662e-6, 4.31421570e-10}, 1e-7);
    expectPrototype(c.cabHp, rate, {0, 0, 3.196e-6}, {1, 0.00147, 3.196e-6}, 1e-6);
  }
}

// The tone stack written with the decimal constants of its circuit analysis;
// the component-value design must agree with it at any knob setting.
FilterCoefficients<3> toneFromDecimalFormula(double bass, double middle, double treble) {
  const double rt = 50000 * treble, rm = 5000 * middle;
  const double rl = 200000 * audioTaper(bass) + 5000 * (1 - middle);
  const double b1 = 0.01022 * rl + 0.02022 * rm + 0.00022 * rt;
  const double b2 = 1.54e-6 * rl + 2.64e-6 * rm + 4.4e-7 * rt + 1.022e-9 * rl * rm;
  const double b3 = 1.32e-13 * rl * rm + 2.2e-14 * rl * rt;
  const double a0 = 100000 + rl + rm + rt;
  const double a1 = 211 + 0.01233 * rl + 0.02233 * rm + 0.00211 * rt + 1e-7 * rl * rm +
                    9.78e-8 * rl * rt + 1.978e-7 * rm * rt - 2.2e-9 * rt * rt;
  const double a2 = 0.022 + 1.176e-5 * rl + 2.86e-6 * rm + 2.2e-7 * rt + 1.133e-9 * rl * rm +
                    1.066e-10 * rl * rt + 1.76e-11 * rm * rt - 4.4e-12 * rt * rt +
                    9.78e-15 * rl * rm * rt - 2.2e-16 * rl * rt * rt - 4.4e-16 * rm * rt * rt;
  const double a3 = rl * (1.1e-9 + 1.43e-13 * rm + 1.1e-14 * rt + 8.8e-19 * rm * rt -
                          2.2e-19 * rt * rt - 2.2e-23 * rm * rt * rt);
  return bilinearTransform<3>({0, b1, b2, b3}, {a0, a1, a2, a3}, 44100.0);
}

TEST(CoefficientDesign, ToneStackMatchesItsCircuitAnalysisAcrossTheKnobs) {
  const float positions[] = {0.0f, 0.1f, 0.37f, 0.5f, 0.82f, 1.0f};
  for (float bass : positions)
    for (float middle : positions)
      for (float treble : positions) {
        CircuitState state{};
        designToneStack(state, 44100.0f, bass, middle, treble);
        const FilterCoefficients<3> expected = toneFromDecimalFormula(bass, middle, treble);
        for (double hz : {30.0, 200.0, 1000.0, 5000.0}) {
          const double omega = 2 * std::numbers::pi * hz / 44100.0;
          const Complex want = digitalResponse(expected, omega);
          EXPECT_LT(std::abs(digitalResponse(state.coefficients.tone, omega) - want),
                    1e-6 * std::abs(want) + 1e-12)
              << bass << ' ' << middle << ' ' << treble << " at " << hz << " Hz";
        }
      }
}

TEST(CoefficientDesign, GainStageDcGainFollowsTheKnob) {
  const auto dcGain = [](float gain) {
    CircuitState state{};
    designGainStage(state, 44100.0f, gain);
    return digitalResponse(state.coefficients.gain, 0.0).real();
  };
  EXPECT_NEAR(dcGain(1.0f), -51200.0 / 58200.0, 1e-9);
  EXPECT_NEAR(dcGain(0.0f), -1200.0 / 58200.0, 1e-9);
  EXPECT_NEAR(dcGain(0.5f), -0.20941, 5e-6);
}

TEST(CoefficientDesign, BaseRateSetsIgnoreTheFactorAndRateChangesAreReversible) {
  const CircuitCoefficients twelve = designed(44100.0f, 12).coefficients;
  const CircuitCoefficients seven = designed(44100.0f, 7).coefficients;
  EXPECT_EQ(twelve.inputHp, seven.inputHp);
  EXPECT_EQ(twelve.gain, seven.gain);
  EXPECT_EQ(twelve.tone, seven.tone);
  EXPECT_EQ(twelve.output, seven.output);
  EXPECT_EQ(twelve.cabHp, seven.cabHp);
  EXPECT_EQ(twelve.cabLp1, seven.cabLp1);
  EXPECT_EQ(twelve.cabLp2, seven.cabLp2);
  EXPECT_NE(twelve.aa, seven.aa);
  EXPECT_NE(twelve.smoothLp, seven.smoothLp);
  EXPECT_NE(twelve.coupling, seven.coupling);

  CircuitState state = designed(44100.0f, 12);
  recomputeCoefficients(state, 96000.0f, 7, {});
  EXPECT_NE(state.coefficients, twelve);
  recomputeCoefficients(state, 44100.0f, 12, {});
  EXPECT_EQ(state.coefficients, twelve);
}

TEST(CoefficientDesign, KnobsOutsideTheRangeDesignAsTheNearestEnd) {
  const auto gainSet = [](float gain) {
    CircuitState state{};
    designGainStage(state, 44100.0f, gain);
    return state.coefficients.gain;
  };
  const auto toneSet = [](float bass, float middle, float treble) {
    CircuitState state{};
    designToneStack(state, 44100.0f, bass, middle, treble);
    return state.coefficients.tone;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(gainSet(7.5f), gainSet(1.0f));
  EXPECT_EQ(gainSet(-3.0f), gainSet(0.0f));
  EXPECT_EQ(gainSet(nan), gainSet(0.0f));
  EXPECT_EQ(toneSet(2.0f, -1.0f, 1e30f), toneSet(1.0f, 0.0f, 1.0f));
  EXPECT_EQ(toneSet(nan, nan, nan), toneSet(0.0f, 0.0f, 0.0f));
  EXPECT_EQ(levelGainFor(4.0f), 1.0f);
  EXPECT_EQ(levelGainFor(-1.0f), 0.0f);
  EXPECT_EQ(levelGainFor(nan), 0.0f);
}

TEST(CoefficientDesign, UnusableRatesDesignFor44100) {
  const CircuitCoefficients reference = designed(44100.0f, 7).coefficients;
  for (float rate : {0.0f, -48000.0f, std::numeric_limits<float>::quiet_NaN(),
                     std::numeric_limits<float>::infinity()})
    EXPECT_EQ(designed(rate, 7).coefficients, reference) << rate;
}

TEST(CoefficientDesign, TaperAndFactorRules) {
  EXPECT_EQ(audioTaper(0.0), 0.0);
  EXPECT_EQ(audioTaper(1.0), 1.0);
  EXPECT_EQ(levelGainFor(0.5f), 0.21975f);
  EXPECT_EQ(levelGainFor(1.0f), 1.0f);
  for (float rate : {44100.0f, 48000.0f, 49999.0f}) EXPECT_EQ(oversamplingFor(rate), 12);
  for (float rate : {50000.0f, 88200.0f, 96000.0f, 192000.0f}) EXPECT_EQ(oversamplingFor(rate), 7);
  EXPECT_EQ(oversamplingFor(std::numeric_limits<float>::quiet_NaN()), 7);
}

}  // namespace
}  // namespace murkfell
