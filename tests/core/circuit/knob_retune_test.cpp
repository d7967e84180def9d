// Knob changes on a running circuit: the capacitor models must be the designed
// networks, and a retuned section must run on as those networks do when a pot
// turns and the capacitors keep their charge.
#include "core/circuit/knob_retune.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "core/circuit/coefficient_design.h"
#include "core/circuit/gain_network_model.h"
#include "core/circuit/process_block.h"
#include "core/circuit/tone_stack_model.h"

namespace murkfell {
namespace {

using Complex = std::complex<double>;

constexpr float kRates[] = {44100.0f, 96000.0f, 192000.0f};

Complex sectionResponse(const FilterCoefficients<3>& c, double omega) {
  const Complex zInv = std::polar(1.0, -omega);
  Complex num = 0.0, den = 1.0, power = 1.0;
  for (int j = 0; j <= 3; ++j) {
    num += c.b[j] * power;
    if (j > 0) den += c.a[j - 1] * power;
    power *= zInv;
  }
  return num / den;
}

// c·(s·I − a)⁻¹·b + d by Gaussian elimination in complex arithmetic.
Complex modelResponse(const CapacitorModel<3>& model, Complex s) {
  Complex m[3][4];
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) m[i][j] = (i == j ? s : 0.0) - model.a[i][j];
    m[i][3] = model.b[i];
  }
  for (int col = 0; col < 3; ++col) {
    int pivot = col;
    for (int row = col + 1; row < 3; ++row)
      if (std::abs(m[row][col]) > std::abs(m[pivot][col])) pivot = row;
    std::swap(m[pivot], m[col]);
    for (int row = col + 1; row < 3; ++row) {
      const Complex factor = m[row][col] / m[col][col];
      for (int j = col; j < 4; ++j) m[row][j] -= factor * m[col][j];
    }
  }
  Complex x[3], response = model.d;
  for (int row = 2; row >= 0; --row) {
    Complex sum = m[row][3];
    for (int k = row + 1; k < 3; ++k) sum -= m[row][k] * x[k];
    x[row] = sum / m[row][row];
    response += model.c[row] * x[row];
  }
  return response;
}

void expectModelOfSection(const CapacitorModel<3>& model, const FilterCoefficients<3>& section,
                          double rate) {
  for (double hz : {5.0, 30.0, 200.0, 1000.0, 5000.0, 15000.0}) {
    const double omega = 2 * std::numbers::pi * hz / rate;
    const Complex s(0.0, 2 * rate * std::tan(omega / 2));
    const Complex expected = sectionResponse(section, omega);
    EXPECT_LT(std::abs(modelResponse(model, s) - expected), 1e-7 * std::abs(expected) + 1e-12)
        << hz << " Hz";
  }
  // A steady input of 1 rests in the resting state with the resting output.
  const Vector<3> drift = model.a * model.restingState;
  for (int i = 0; i < 3; ++i)
    EXPECT_NEAR(drift[i] + model.b[i], 0.0, 1e-9 * std::fabs(model.b[i]) + 1e-6);
  EXPECT_NEAR(dot(model.c, model.restingState) + model.d, model.restingOutput, 1e-12);
}

TEST(CapacitorModels, AreTheDesignedNetworks) {
  const float positions[] = {0.0f, 0.02f, 0.5f, 0.77f, 1.0f};
  for (float rate : kRates) {
    for (float gain : positions) {
      SCOPED_TRACE(testing::Message() << "gain " << gain << " at " << rate << " Hz");
      CircuitState state{};
      designGainStage(state, rate, gain);
      expectModelOfSection(gainNetworkModel(gain), state.coefficients.gain, rate);
    }
    for (float bass : positions)
      for (float middle : positions)
        for (float treble : positions) {
          SCOPED_TRACE(testing::Message() << "tone " << bass << ' ' << middle << ' ' << treble
                                          << " at " << rate << " Hz");
          CircuitState state{};
          designToneStack(state, rate, bass, middle, treble);
          expectModelOfSection(toneStackModel(bass, middle, treble, rate), state.coefficients.tone,
                               rate);
        }
  }
}

// The network itself, stepped by the trapezoidal rule on its capacitor
// voltages; a pot that turns swaps the model and keeps the voltages (their
// charge shared where a short joins capacitors).
class NetworkByItsVoltages {
 public:
  NetworkByItsVoltages(const CapacitorModel<3>& model, double rate, double restingInput)
      : model(model), h(0.5 / rate), previousInput(restingInput) {
    for (int i = 0; i < 3; ++i) voltages[i] = restingInput * model.restingState[i];
  }

  void turnTo(const CapacitorModel<3>& next) {
    voltages = next.settling * (model.settling * voltages);
    model = next;
  }

  double step(double input) {
    Matrix<3, 3> lhs = identity<3>();
    Matrix<3, 1> rhs{};
    for (int i = 0; i < 3; ++i) {
      rhs[i][0] = voltages[i] + h * model.b[i] * (input + previousInput);
      for (int j = 0; j < 3; ++j) {
        lhs[i][j] -= h * model.a[i][j];
        rhs[i][0] += h * model.a[i][j] * voltages[j];
      }
    }
    solveInPlace(lhs, rhs);
    for (int i = 0; i < 3; ++i) voltages[i] = rhs[i][0];
    previousInput = input;
    return dot(model.c, voltages) + model.d * input;
  }

 private:
  CapacitorModel<3> model;
  double h, previousInput;
  Vector<3> voltages;
};

struct Case {
  KnobSettings from, to;
};

// The gain network with the knob that puts a pole near z = 0 at 44.1 kHz
// (0.77), and the tone stack between its corners, into and out of the
// position where a 0 Ω bass leg joins the bass and middle capacitors.
const Case kCases[] = {
    {{0.0f, 0.5f, 0.5f, 0.5f}, {1.0f, 0.5f, 0.5f, 0.5f}},
    {{1.0f, 0.5f, 0.5f, 0.5f}, {0.77f, 0.5f, 0.5f, 0.5f}},
    {{0.5f, 0.5f, 0.5f, 1.0f}, {0.5f, 0.5f, 0.5f, 0.0f}},
    {{0.5f, 0.5f, 0.0f, 0.0f}, {0.5f, 1.0f, 1.0f, 1.0f}},
    {{0.5f, 1.0f, 0.5f, 0.2f}, {0.5f, 0.0f, 1.0f, 0.7f}},
    {{0.5f, 0.0f, 1.0f, 0.7f}, {0.5f, 1.0f, 0.0f, 0.5f}},
    {{0.5f, 0.0f, 0.9999f, 0.5f}, {0.5f, 0.0f, 1.0f, 0.5f}},
};

TEST(KnobRetune, SectionRunsOnAsTheNetworkWhoseCapacitorsKeepTheirCharge) {
  for (float rate : kRates) {
    for (const Case& c : kCases) {
      for (const bool tone : {false, true}) {
        SCOPED_TRACE(testing::Message()
                     << (tone ? "tone" : "gain") << " at " << rate << " Hz, " << c.from.gain << ' '
                     << c.from.bass << ' ' << c.from.middle << ' ' << c.from.treble << " -> "
                     << c.to.gain << ' ' << c.to.bass << ' ' << c.to.middle << ' ' << c.to.treble);
        const auto modelOf = [&](const KnobSettings& k) {
          return tone ? toneStackModel(k.bass, k.middle, k.treble, rate) : gainNetworkModel(k.gain);
        };
        const double rest = tone ? resting::secondStageDouble : resting::gainInput;
        CircuitState state{};
        recomputeCoefficients(state, rate, 7, c.from);
        FilterHistory<3>& section = tone ? state.histories.tone : state.histories.gain;
        const FilterCoefficients<3>& coefficients =
            tone ? state.coefficients.tone : state.coefficients.gain;
        section.fill(rest, rest * modelOf(c.from).restingOutput);
        NetworkByItsVoltages network(modelOf(c.from), hostRate(rate), rest);

        std::mt19937 random(7);
        std::normal_distribution<double> noise(0.0, 0.1);
        double colour = 0.0, peak = 0.0, largestDifference = 0.0;
        for (int n = 0; n < 6000; ++n) {
          if (n == 3000) {
            retuneKnobs(state, rate, c.from, c.to);
            network.turnTo(modelOf(c.to));
          }
          colour = 0.95 * colour + noise(random);
          const double input = rest + colour;
          const double expected = network.step(input);
          const double actual = section.step(coefficients, input);
          peak = std::max(peak, std::fabs(expected));
          largestDifference = std::max(largestDifference, std::fabs(actual - expected));
        }
        EXPECT_LT(largestDifference, 1e-7 * peak);
      }
    }
  }
}

TEST(KnobRetune, TouchesOnlyWhatTheKnobsMove) {
  CircuitState running{};
  resetToStartingValues(running);
  recomputeCoefficients(running, 48000.0f, 12, {});
  std::mt19937 random(3);
  for (FilterHistory<3>* section : {&running.histories.gain, &running.histories.tone})
    for (int i = 0; i < 3; ++i) section->x[i] += 0.01 * (random() % 100), section->y[i] += 0.1 * i;

  CircuitState same = running;
  retuneKnobs(same, 48000.0f, {}, {});
  EXPECT_TRUE(same.histories == running.histories && same.coefficients == running.coefficients);

  CircuitState gainTurned = running;
  retuneKnobs(gainTurned, 48000.0f, {}, {0.9f, 0.5f, 0.5f, 0.5f});
  CircuitState designed = running;
  designGainStage(designed, 48000.0f, 0.9f);
  EXPECT_TRUE(gainTurned.coefficients == designed.coefficients);
  EXPECT_TRUE(gainTurned.histories.tone == running.histories.tone);
  EXPECT_NE(gainTurned.histories.gain.y, running.histories.gain.y);
  EXPECT_EQ(gainTurned.histories.gain.x, running.histories.gain.x);

  CircuitState toneTurned = running;
  retuneKnobs(toneTurned, 48000.0f, {}, {0.5f, 0.1f, 0.5f, 0.5f});
  designed = running;
  designToneStack(designed, 48000.0f, 0.1f, 0.5f, 0.5f);
  EXPECT_TRUE(toneTurned.coefficients == designed.coefficients);
  EXPECT_TRUE(toneTurned.histories.gain == running.histories.gain);
  EXPECT_NE(toneTurned.histories.tone.y, running.histories.tone.y);

  // Values the designs take alike (beyond the ends, NaN as 0) move no voltage.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  CircuitState alike = running;
  retuneKnobs(alike, 48000.0f, {1.0f, 0.0f, 0.5f, 1.0f}, {1.7f, nan, 0.5f, 3.0f});
  EXPECT_TRUE(alike.histories == running.histories);
}

// Retuning back and forth between two settings, with no sample in between,
// must come back to where it started: the state recovery is well conditioned
// at every rate, also where a pole of the gain network lies near z = 0
// (Gain 0.2 at 192 kHz).
TEST(KnobRetune, BackAndForthComesBackWithoutDrift) {
  const KnobSettings first{0.2f, 0.9f, 0.1f, 0.95f}, second{0.9f, 0.05f, 0.8f, 0.02f};
  const SignalSettings settings{1.0f, 1, 0, 7};
  for (float rate : kRates) {
    CircuitState state{};
    resetToStartingValues(state);
    recomputeCoefficients(state, rate, 7, first);
    std::vector<float> input(4000), output(2000), expected(2000);
    for (std::size_t i = 0; i < input.size(); ++i) input[i] = 0.4f * std::sin(0.05f * i);
    processBlock(state, settings, input.data(), output.data(), 2000);
    CircuitState untouched = state;
    for (int turn = 0; turn < 1000; ++turn) {
      retuneKnobs(state, rate, first, second);
      retuneKnobs(state, rate, second, first);
    }
    processBlock(untouched, settings, input.data() + 2000, expected.data(), 2000);
    processBlock(state, settings, input.data() + 2000, output.data(), 2000);
    float peak = 0.0f, difference = 0.0f;
    for (int i = 0; i < 2000; ++i) {
      peak = std::max(peak, std::fabs(expected[i]));
      difference = std::max(difference, std::fabs(output[i] - expected[i]));
    }
    EXPECT_LT(difference, 1e-6f * peak) << rate;
  }
}

// With Bass 0 and Middle 1 the bass leg is 0 Ω and the section's coefficients
// hold a pole at the Nyquist frequency that only a zero cancels; histories
// that disagree with that cancellation ring there for ever. A retune into
// that position lets the two joined capacitors share their charge, so with
// the input held still the tone stack's output dies away.
TEST(KnobRetune, JoinedCapacitorsLeaveNoLastingTone) {
  for (float rate : kRates) {
    CircuitState state{};
    recomputeCoefficients(state, rate, 7, {});
    FilterHistory<3>& tone = state.histories.tone;
    tone.fill(resting::secondStageDouble, 0.0);
    double input = resting::secondStageDouble;
    for (int n = 0; n < 2000; ++n) {
      input = resting::secondStageDouble + 0.3 * std::sin(0.02 * n) * std::sin(0.0011 * n);
      tone.step(state.coefficients.tone, input);
    }
    retuneKnobs(state, rate, {}, {0.5f, 0.0f, 1.0f, 0.5f});
    double late = 0.0;
    for (int n = 0; n < 20000; ++n) {
      const double out = tone.step(state.coefficients.tone, input);
      if (n >= 19000) late = std::max(late, std::fabs(out));
    }
    EXPECT_LT(late, 1e-9) << rate;
  }
}

}  // namespace
}  // namespace murkfell
