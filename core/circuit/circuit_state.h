#pragma once

#include <array>

#include "core/circuit/filter_section.h"
#include "core/circuit/oversampling_factor.h"

namespace murkfell {

// The ten coefficient sets, written only by the designs.
struct CircuitCoefficients {
  FilterCoefficients<1> inputHp;
  FilterCoefficients<3> gain;
  FilterCoefficients<1> smoothLp;
  FilterCoefficients<5> coupling;
  FilterCoefficients<3> tone;
  FilterCoefficients<1> output;
  FilterCoefficients<2> cabHp;
  FilterCoefficients<3> cabLp1;
  FilterCoefficients<3> cabLp2;
  FilterCoefficients<6> aa;  // shared by upAa, shaperAa and downAa

  bool operator==(const CircuitCoefficients&) const = default;
};

// Every history of the chain and the sub-sample buffer, written only by
// processing (and by the reset to the starting values).
struct CircuitHistories {
  FilterHistory<1> inputHp;
  FilterHistory<3> gain;
  FilterHistory<1> smoothLp;
  FilterHistory<5> coupling;
  FilterHistory<3> tone;
  FilterHistory<1> output;
  FilterHistory<2> cabHp;
  FilterHistory<3> cabLp1;
  FilterHistory<3> cabLp2;
  std::array<double, maxOversampling> overBuffer{};
  FilterHistory<6> upAa;
  FilterHistory<6> shaperAa;
  FilterHistory<6> downAa;

  bool operator==(const CircuitHistories&) const = default;
};

// Plain data, no allocation: lives inside the effect object.
struct CircuitState {
  CircuitCoefficients coefficients;
  CircuitHistories histories;
};

// Resting values of the signal at each point for a silent input with the
// default knobs, so processing starts settled (except the upsampler, which
// starts at zero).
namespace resting {
inline constexpr double gainInput = 0.0174f;
inline constexpr double gainOutput = -0.003643685718998313;
inline constexpr double firstStage = 1.2691044807434082;
inline constexpr double secondStageSingle = 1.2776418924331665;
inline constexpr double secondStageDouble = 1.277641900160333;
}  // namespace resting

// Every history and overBuffer to its starting value; coefficients untouched.
void resetToStartingValues(CircuitState& state);

}  // namespace murkfell
