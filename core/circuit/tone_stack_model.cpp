#include "core/circuit/tone_stack_model.h"

#include <algorithm>

#include "core/circuit/network_parts.h"

namespace murkfell {

namespace {

using namespace tone_stack;

// Currents enter the node equations scaled by this resistance, so that every
// coefficient of the system is of order one.
constexpr double currentScale = 10000.0;

// A bass leg of 0 Ω joins the bass and middle capacitors in a loop with no
// resistance, which no state model has; below this the leg counts as this.
constexpr double shortestBassLeg = 1e-6;

// Fewer capacitor time constants than this in one sample period: the two
// capacitors' charge evens out within the sample.
constexpr double joiningRatio = 20.0;

// The network's node voltages and leg currents for given sources: the input
// and the three capacitor voltages (columns). With T = u − vT, B = A − vB and
// M = A − vM, the unknowns are the node A, the output, and the currents (times
// currentScale) in the treble pot's upper and lower legs and the middle leg.
// The bass leg's current follows from the capacitor voltages alone.
enum Unknown { nodeA, output, upperLegCurrent, lowerLegCurrent, middleLegCurrent };
enum Source { input, trebleVoltage, bassVoltage, middleVoltage };

Matrix<5, 4> networkResponse(const Legs& leg) {
  const double upperLeg = treblePotR - leg.treble;
  Matrix<5, 5> m{};
  Matrix<5, 4> rhs{};
  // Upper treble leg: T − out = upperLeg·i.
  m[0][output] = -1.0, m[0][upperLegCurrent] = -upperLeg / currentScale;
  rhs[0][input] = -1.0, rhs[0][trebleVoltage] = 1.0;
  // Lower treble leg: out − B = treble leg·i.
  m[1][nodeA] = -1.0, m[1][output] = 1.0, m[1][lowerLegCurrent] = -leg.treble / currentScale;
  rhs[1][bassVoltage] = -1.0;
  // Middle leg: M = middle leg·i.
  m[2][nodeA] = 1.0, m[2][middleLegCurrent] = -leg.middle / currentScale;
  rhs[2][middleVoltage] = 1.0;
  // Output node: the upper leg's current leaves through the lower leg and the load.
  m[3][upperLegCurrent] = 1.0, m[3][lowerLegCurrent] = -1.0, m[3][output] = -currentScale / loadR;
  // Node A with B and M: the slope resistor's current leaves through the
  // lower treble leg and the middle leg.
  m[4][nodeA] = -currentScale / slopeR, m[4][lowerLegCurrent] = 1.0, m[4][middleLegCurrent] = -1.0;
  rhs[4][input] = -currentScale / slopeR;
  solveInPlace(m, rhs);  // never singular: the load and slope resistors are not 0 Ω
  return rhs;
}

}  // namespace

CapacitorModel<3> toneStackModel(float bass, float middle, float treble, double rate) {
  const Legs leg = legs(bass, middle, treble);
  const Matrix<5, 4> response = networkResponse(leg);
  constexpr double bassShare = bassC / (bassC + middleC), middleShare = 1.0 - bassShare;

  // Per source: the capacitor currents into T, B and M without the bass leg,
  // and the output.
  struct Effect {
    double trebleCurrent, bassCurrent, middleCurrent, output;
  };
  const auto effectOf = [&](int source) {
    return Effect{response[upperLegCurrent][source] / currentScale,
                  -response[lowerLegCurrent][source] / currentScale,
                  response[middleLegCurrent][source] / currentScale, response[output][source]};
  };
  // The bass and middle capacitors as their charge-weighted mean voltage
  // (vB = mean + middleShare·difference) and their difference (vM = mean −
  // bassShare·difference): the bass leg then drives the difference alone.
  const auto combined = [](const Effect& e1, double w1, const Effect& e2, double w2) {
    return Effect{w1 * e1.trebleCurrent + w2 * e2.trebleCurrent,
                  w1 * e1.bassCurrent + w2 * e2.bassCurrent,
                  w1 * e1.middleCurrent + w2 * e2.middleCurrent, w1 * e1.output + w2 * e2.output};
  };
  const Effect bassEffect = effectOf(bassVoltage), middleEffect = effectOf(middleVoltage);
  const Effect effects[4] = {effectOf(input), effectOf(trebleVoltage),
                             combined(bassEffect, 1.0, middleEffect, 1.0),
                             combined(bassEffect, middleShare, middleEffect, -bassShare)};

  CapacitorModel<3> model;
  for (int source = 0; source < 4; ++source) {
    const Effect& e = effects[source];
    const Vector<3> derivative = {e.trebleCurrent / trebleC,
                                  (e.bassCurrent + e.middleCurrent) / (bassC + middleC),
                                  e.bassCurrent / bassC - e.middleCurrent / middleC};
    if (source == 0) {
      model.b = derivative;
      model.d = e.output;
    } else {
      for (int i = 0; i < 3; ++i) model.a[i][source - 1] = derivative[i];
      model.c[source - 1] = e.output;
    }
  }
  // The bass leg carries (vM − vB)/leg from node B to node M: it drains the
  // difference and leaves the mean alone.
  const double bassLeg = std::max(leg.bass, shortestBassLeg);
  model.a[2][2] -= (1.0 / bassC + 1.0 / middleC) / bassLeg;
  model.restingState = {1.0, 1.0, 0.0};

  const double loopTimeConstant = leg.bass * bassC * middleC / (bassC + middleC);
  if (loopTimeConstant * joiningRatio * rate < 1.0) model.settling[2][2] = 0.0;
  return model;
}

}  // namespace murkfell
