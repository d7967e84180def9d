#include "oversampling.h"

namespace murkfell::reference {

void interpolate(CircuitState& state, double u, int factor) {
  const FilterCoefficients<6>& aa = state.coefficients.aa;
  FilterHistory<6>& history = state.histories.upAa;
  double* buffer = state.histories.overBuffer.data();
  buffer[0] = history.step(aa, u);
  for (int k = 1; k < factor; ++k) buffer[k] = history.step(aa, 0.0);
  history.flushOutputsIfSilent();
  const double scale = factor;
  for (int k = 0; k < factor; ++k) buffer[k] *= scale;
}

double decimate(CircuitState& state, int factor) {
  const FilterCoefficients<6>& aa = state.coefficients.aa;
  FilterHistory<6>& history = state.histories.downAa;
  const double* buffer = state.histories.overBuffer.data();
  const double result = history.step(aa, buffer[0]);
  for (int k = 1; k < factor; ++k) history.step(aa, buffer[k]);
  history.flushOutputsIfSilent();
  return result;
}

}  // namespace murkfell::reference
