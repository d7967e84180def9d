// A linear network described by its capacitor voltages, and the link between
// those voltages and the histories of its direct-form section.
//
// The bilinear transform without prewarping is the trapezoidal rule applied to
// the network's state equations. Run backwards, that rule ties each past
// output to the capacitor voltages after the most recent step and to the past
// inputs, so the voltages can be read out of a section's histories, and
// histories can be written that continue from given voltages under new
// coefficients. Both directions work relative to the most recent input: the
// resting state of a steady input then maps onto itself, with less rounding.
#pragma once

#include <type_traits>

#include "core/circuit/filter_section.h"
#include "core/circuit/small_matrix.h"

namespace murkfell {

// dv/dt = a·v + b·u and y = c·v + d·u for a state v of capacitor voltages (or
// fixed combinations of them), input u and output y; the resting state and
// output are those a constant input of 1 settles to. `settling` maps a state
// onto the one the network holds an instant later: the identity, or charge
// sharing where a (near) short joins capacitors.
template <int N>
struct CapacitorModel {
  Matrix<N, N> a{};
  Vector<N> b{};
  Vector<N> c{};
  double d = 0.0;
  Vector<N> restingState{};
  double restingOutput = 0.0;
  Matrix<N, N> settling = identity<N>();
};

// The capacitor voltages after the section's most recent step, from its
// histories and the model the section was designed from at `rate`. Unknowns:
// the voltages one, two, … N steps back; equations: each past output, and
// the trapezoidal step between neighbouring past states. Answers false when
// the histories pin down no single state.
template <int N>
bool recoverVoltages(const CapacitorModel<N>& model, double rate, const FilterHistory<N>& history,
                     std::type_identity_t<Vector<N>>& voltages) {
  constexpr int size = N * N;
  const double h = 0.5 / rate;
  const double reference = history.x[0];
  Matrix<size, size> m{};
  Matrix<size, 1> rhs{};
  for (int k = 0; k < N; ++k) {
    const double input = history.x[k] - reference;
    const double output = history.y[k] - reference * model.restingOutput;
    for (int i = 0; i < N; ++i) m[k][k * N + i] = model.c[i];
    rhs[k][0] = output - model.d * input;
  }
  // (I − h·a)·v[k] − (I + h·a)·v[k+1] = h·b·(u[k] + u[k+1]), v[0] the newest.
  for (int k = 0; k + 1 < N; ++k) {
    const double inputs = (history.x[k] - reference) + (history.x[k + 1] - reference);
    for (int i = 0; i < N; ++i) {
      const int row = N + k * N + i;
      for (int j = 0; j < N; ++j) {
        const double step = h * model.a[i][j];
        m[row][k * N + j] = (i == j ? 1.0 : 0.0) - step;
        m[row][(k + 1) * N + j] = -((i == j ? 1.0 : 0.0) + step);
      }
      rhs[row][0] = h * model.b[i] * inputs;
    }
  }
  if (!solveInPlace(m, rhs)) return false;
  for (int i = 0; i < N; ++i) voltages[i] = rhs[i][0] + reference * model.restingState[i];
  return true;
}

// Output histories with which a section of the given coefficients, keeping
// its input histories, continues exactly as the model does from `voltages`:
// its next N outputs for an input held at the newest input value match the
// model's. Each new history value is solved for in turn, dividing by the
// oldest feedback coefficient. Answers false when that cannot be done.
template <int N>
bool continuingOutputs(const CapacitorModel<N>& model, double rate,
                       const FilterCoefficients<N>& coefficients,
                       const std::type_identity_t<Vector<N>>& voltages,
                       const FilterHistory<N>& history, std::type_identity_t<Vector<N>>& outputs) {
  const double h = 0.5 / rate;
  const double reference = history.x[0];
  // One trapezoidal step with a steady input: v ← (I − h·a)⁻¹·(I + h·a)·v.
  Matrix<N, N> backward = identity<N>(), step = identity<N>();
  for (int i = 0; i < N; ++i)
    for (int j = 0; j < N; ++j) {
      backward[i][j] -= h * model.a[i][j];
      step[i][j] += h * model.a[i][j];
    }
  if (!solveInPlace(backward, step)) return false;

  Vector<N> state{}, future{};
  for (int i = 0; i < N; ++i) state[i] = voltages[i] - reference * model.restingState[i];
  for (int j = 0; j < N; ++j) {
    state = step * state;
    future[j] = dot(model.c, state) + reference * model.restingOutput;
  }

  // Input and output of the section at future step j (negative j: history).
  const auto input = [&](int j) { return j >= 0 ? reference : history.x[-j - 1]; };
  const auto output = [&](int j) { return j >= 0 ? future[j] : outputs[-j - 1]; };
  const double oldest = coefficients.a[N - 1];
  for (int j = N - 1; j >= 0; --j) {
    double known = 0.0;
    for (int i = 0; i <= N; ++i) known += coefficients.b[i] * input(j - i);
    for (int i = 1; i < N; ++i) known -= coefficients.a[i - 1] * output(j - i);
    outputs[N - 1 - j] = (known - future[j]) / oldest;
    if (!std::isfinite(outputs[N - 1 - j])) return false;
  }
  return true;
}

}  // namespace murkfell
