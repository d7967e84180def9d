#include "core/circuit/coefficient_design.h"

#include <algorithm>
#include <cmath>

#include "core/circuit/audio_taper.h"
#include "core/circuit/bilinear_transform.h"
#include "core/circuit/network_parts.h"
#include "core/circuit/polynomial.h"

namespace murkfell {

namespace {

// Component values are single-precision constants used widened to double.

double oversampledRate(float sampleRate, int factor) {
  return hostRate(sampleRate) * std::clamp(factor, 1, maxOversampling);
}

// Coupling capacitor into the input impedance: H(s) = τs / (1 + τs).
FilterCoefficients<1> inputHighPass(double rate) {
  constexpr double r = 47000.0f, c = 470e-9f;
  const double tau = r * c;
  return bilinearTransform<1>({0.0, tau}, {1.0, tau}, rate);
}

// H(s) = 1 / (1 + τs).
FilterCoefficients<1> smoothingLowPass(double rate) {
  constexpr double r = 2200.0f, c = 17e-9f;
  const double tau = r * c;
  return bilinearTransform<1>({1.0, 0.0}, {1.0, tau}, rate);
}

// Non-inverting amplifier, 33 kΩ ∥ 2.2 nF feedback over 10 kΩ to ground.
FilterCoefficients<1> outputAmplifier(double rate) {
  constexpr double feedback = 33000.0f, ground = 10000.0f, c = 2.2e-9f;
  const double rcProduct = ground * feedback * c;
  return bilinearTransform<1>({feedback + ground, rcProduct}, {ground, rcProduct}, rate);
}

// Unity-gain Sallen–Key high-pass.
FilterCoefficients<2> cabinetHighPass(double rate) {
  constexpr double r1 = 10000.0f, r2 = 68000.0f, c1 = 47e-9f, c2 = 100e-9f;
  const double s2 = r1 * r2 * c1 * c2;
  return bilinearTransform<2>({0.0, 0.0, s2}, {1.0, r1 * (c1 + c2), s2}, rate);
}

// Feedback impedance of an inverting stage, R ∥ C ∥ (Rs + 1/(s·Cs)), as the
// admittance numerator over R·(1 + s·Rs·Cs): returns that numerator.
Polynomial<2> feedbackAdmittance(double r, double c, double rSeries, double cSeries) {
  const Polynomial<1> seriesBranch{1.0, rSeries * cSeries};
  return seriesBranch * Polynomial<1>{1.0, r * c} + Polynomial<2>{0.0, r * cSeries, 0.0};
}

// z^(1/6) by Newton's method from z^(1/4): plain arithmetic, so the same bits
// from every compiler and maths library.
double sixthRoot(double z) {
  double w = std::sqrt(std::sqrt(z));
  for (int i = 0; i < 20; ++i) {
    const double w5 = w * w * w * w * w;
    w -= (w5 * w - z) / (6.0 * w5);
  }
  return w;
}

}  // namespace

double hostRate(float sampleRate) {
  const bool usable = std::isfinite(sampleRate) && sampleRate > 0.0f;
  return usable ? sampleRate : 44100.0f;
}

void designGainStage(CircuitState& state, float sampleRate, float gain) {
  using namespace gain_network;
  const double rg = feedbackR(gain);

  const Polynomial<1> inputZero{1.0, shuntR * shuntC};
  const Polynomial<1> compensationZero{1.0, compensationR * compensationC};
  const Polynomial<2> numerator = -rg * (inputZero * compensationZero);
  const Polynomial<1> inputImpedance{seriesR + shuntR, seriesR * shuntR * shuntC};
  const Polynomial<3> denominator =
      feedbackAdmittance(rg, feedbackC, compensationR, compensationC) * inputImpedance;
  state.coefficients.gain =
      bilinearTransform<3>(widened<3>(numerator), denominator, hostRate(sampleRate));
}

void designToneStack(CircuitState& state, float sampleRate, float bass, float middle,
                     float treble) {
  using namespace tone_stack;
  constexpr double ct = trebleC, cb = bassC, cm = middleC;
  constexpr double rs = slopeR, rp = treblePotR, rld = loadR;

  const auto [rt, rl, rm] = legs(bass, middle, treble);
  const double rt2 = rt * rt;

  const double beta1 = rld * (cb + ct) * rl + rld * (cb + cm + ct) * rm + ct * rld * rt;
  const double beta2 = cm * rld * (cb + ct) * rl * rm +
                       ct * rld * (cb * rp + cb * rs + cm * rs) * rl +
                       ct * rld * (cb + cm) * (rp + rs) * rm + ct * rld * rs * (cb + cm) * rt;
  const double beta3 = cb * cm * ct * rld * ((rp + rs) * rl * rm + rs * rl * rt);

  const double alpha0 = rld + rl + rm + rt;
  const double alpha1 =
      cm * rl * rm + (cb - ct) * rl * rt +
      (cb * rld + cb * rs + cm * rs + ct * rld + ct * rp) * rl + (cb + cm - ct) * rm * rt +
      (cb * rld + cb * rs + cm * rld + cm * rs + ct * rld + ct * rp) * rm - ct * rt2 +
      (cb * rs + cm * rs + ct * rp) * rt + rld * (cb * rs + cm * rs + ct * rp);
  const double alpha2 =
      cm * (cb - ct) * rl * rm * rt + cm * (cb * rld + cb * rs + ct * rld + ct * rp) * rl * rm -
      cb * ct * rl * rt2 + (cb * cm * rs + cb * ct * rp - cb * ct * rs - cm * ct * rs) * rl * rt +
      (cb * cm * rld * rs + cb * ct * rld * rp + cb * ct * rld * rs + cb * ct * rp * rs +
       cm * ct * rld * rs + cm * ct * rp * rs) *
          rl -
      ct * (cb + cm) * rm * rt2 + ct * (cb + cm) * (rp - rs) * rm * rt +
      ct * (cb + cm) * (rld * rp + rld * rs + rp * rs) * rm - ct * rs * (cb + cm) * rt2 +
      ct * rp * rs * (cb + cm) * rt + ct * rld * rp * rs * (cb + cm);
  const double alpha3 = cb * cm * ct * rl *
                        (rld * rp * rs + rp * rs * rt - rs * rt2 +
                         (rld * rp + rld * rs + rp * rs) * rm + (rp - rs) * rm * rt - rm * rt2);

  state.coefficients.tone = bilinearTransform<3>(
      {0.0, beta1, beta2, beta3}, {alpha0, alpha1, alpha2, alpha3}, hostRate(sampleRate));
}

FilterCoefficients<3> designCabinetFilter(float sampleRate, double r1, double r2, double r3,
                                          double r4, double c1, double c2, double c3) {
  const Polynomial<3> numerator{r3, 2 * c3 * r2 * r3 - 2 * c3 * r2 * r4 - c1 * r2 * r4,
                                c1 * c3 * r2 * r2 * r3 - c1 * c3 * r2 * r2 * r4, 0.0};
  const Polynomial<3> denominator{
      r3, c2 * r1 * r3 + 2 * c3 * r1 * r2 + c3 * r1 * r3 + 4 * c3 * r2 * r3 - c1 * r2 * r4,
      c1 * c3 * r1 * r2 * r2 + c1 * c3 * r1 * r2 * r3 + c1 * c3 * r1 * r2 * r4 +
          2 * c1 * c3 * r2 * r2 * r3 + 4 * c2 * c3 * r1 * r2 * r3 + 2 * c3 * c3 * r1 * r2 * r3 -
          c1 * c2 * r1 * r2 * r4,
      2 * c1 * c2 * c3 * r1 * r2 * r2 * r3 + c1 * c3 * c3 * r1 * r2 * r2 * r3};
  return bilinearTransform<3>(numerator, denominator, hostRate(sampleRate));
}

void designCoupling(CircuitState& state, float sampleRate, int factor) {
  // Input branch: 470 nF + 5.6 kΩ + (10 kΩ ∥ 33 nF) + (3.3 kΩ ∥ 15 nF);
  // feedback 130 kΩ ∥ 100 pF ∥ (470 Ω + 121.6 pF).
  constexpr double couplingC = 470e-9f, seriesR = 5600.0f;
  constexpr double firstR = 10000.0f, firstC = 33e-9f, secondR = 3300.0f, secondC = 15e-9f;
  constexpr double feedbackR = 130000.0f, feedbackC = 100e-12f;
  constexpr double snubberR = 470.0f, snubberC = 121.6e-12f;

  const Polynomial<1> firstPole{1.0, firstR * firstC};
  const Polynomial<1> secondPole{1.0, secondR * secondC};
  const Polynomial<4> numerator = Polynomial<1>{0.0, -feedbackR * couplingC} * firstPole *
                                  secondPole * Polynomial<1>{1.0, snubberR * snubberC};
  // Input impedance times s·C·(1 + s·τ1)(1 + s·τ2).
  const Polynomial<3> inputImpedance =
      firstPole * secondPole * Polynomial<1>{1.0, couplingC * seriesR} +
      widened<3>(Polynomial<1>{0.0, couplingC * firstR} * secondPole) +
      widened<3>(Polynomial<1>{0.0, couplingC * secondR} * firstPole);
  const Polynomial<5> denominator =
      feedbackAdmittance(feedbackR, feedbackC, snubberR, snubberC) * inputImpedance;
  state.coefficients.coupling =
      bilinearTransform<5>(widened<5>(numerator), denominator, oversampledRate(sampleRate, factor));
}

void designAntiAlias(CircuitState& state, float sampleRate, int factor) {
  // Stopband edge ωs = 140000 rad/s, 70 dB down: ripple δ = 1/√(10⁷ − 1),
  // μ = asinh(1/δ)/6, zeros ±j·ωs/cos θk and poles ωs/(−sinh μ·sin θk +
  // j·cosh μ·cos θk) for θk = 15°, 45°, 75° and their conjugates. Only
  // square roots and arithmetic are used (closed forms of the angles,
  // e^μ = (1/δ + √(1/δ² + 1))^(1/6)), so constant folding and libm
  // rounding cannot change a bit of the design.
  constexpr double stopEdge = 140000.0;
  const double root2 = std::sqrt(2.0), root6 = std::sqrt(6.0);
  const double cos15 = (root6 + root2) / 4.0, sin15 = (root6 - root2) / 4.0;
  const double cos45 = root2 / 2.0;
  const double cosTheta[3] = {cos15, cos45, sin15};
  const double sinTheta[3] = {sin15, cos45, cos15};
  const double expMu = sixthRoot(std::sqrt(1e7 - 1.0) + std::sqrt(1e7));
  const double sinhMu = (expMu - 1.0 / expMu) / 2.0, coshMu = (expMu + 1.0 / expMu) / 2.0;

  const auto zeroPair = [&](int k) {
    const double zero = cosTheta[k] / stopEdge;
    return Polynomial<2>{1.0, 0.0, zero * zero};
  };
  const auto polePair = [&](int k) {
    const double re = -sinhMu * sinTheta[k] / stopEdge;
    const double im = coshMu * cosTheta[k] / stopEdge;
    return Polynomial<2>{1.0, -2.0 * re, re * re + im * im};
  };
  const Polynomial<6> numerator = zeroPair(0) * zeroPair(1) * zeroPair(2);
  const Polynomial<6> denominator = polePair(0) * polePair(1) * polePair(2);
  state.coefficients.aa =
      bilinearTransform<6>(numerator, denominator, oversampledRate(sampleRate, factor));
}

void recomputeCoefficients(CircuitState& state, float sampleRate, int oversampling,
                           const KnobSettings& knobs) {
  const double rate = hostRate(sampleRate);
  CircuitCoefficients& c = state.coefficients;
  c.inputHp = inputHighPass(rate);
  designGainStage(state, sampleRate, knobs.gain);
  c.smoothLp = smoothingLowPass(oversampledRate(sampleRate, oversampling));
  designCoupling(state, sampleRate, oversampling);
  designToneStack(state, sampleRate, knobs.bass, knobs.middle, knobs.treble);
  c.output = outputAmplifier(rate);
  c.cabHp = cabinetHighPass(rate);
  c.cabLp1 =
      designCabinetFilter(sampleRate, 1500.0f, 1200.0f, 27000.0f, 1500.0f, 1e-7f, 2.2e-8f, 3.3e-9f);
  c.cabLp2 =
      designCabinetFilter(sampleRate, 1500.0f, 1200.0f, 27000.0f, 1500.0f, 1e-7f, 3.3e-8f, 3.3e-9f);
  designAntiAlias(state, sampleRate, oversampling);
}

}  // namespace murkfell
