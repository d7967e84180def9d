#include "core/circuit/gain_network_model.h"

#include "core/circuit/network_parts.h"

namespace murkfell {

CapacitorModel<3> gainNetworkModel(float gain) {
  using namespace gain_network;
  const double rg = feedbackR(gain);
  constexpr double inputR = seriesR + shuntR;
  // State: 0 the shunt capacitor (input branch), 1 the feedback capacitor
  // (inverting input to output, so the output is its negative), 2 the
  // compensation capacitor in series with its 100 Ω. The input current
  // (u − v0)/seriesR flows into the virtual ground and on through the feedback.
  CapacitorModel<3> model;
  model.a[0][0] = -(1.0 / seriesR + 1.0 / shuntR) / shuntC;
  model.a[1][0] = -1.0 / (seriesR * feedbackC);
  model.a[1][1] = -(1.0 / rg + 1.0 / compensationR) / feedbackC;
  model.a[1][2] = 1.0 / (compensationR * feedbackC);
  model.a[2][1] = 1.0 / (compensationR * compensationC);
  model.a[2][2] = -1.0 / (compensationR * compensationC);
  model.b = {1.0 / (seriesR * shuntC), 1.0 / (seriesR * feedbackC), 0.0};
  model.c = {0.0, -1.0, 0.0};
  model.restingState = {shuntR / inputR, rg / inputR, rg / inputR};
  model.restingOutput = -rg / inputR;
  return model;
}

}  // namespace murkfell
