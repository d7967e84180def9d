#include "core/circuit/circuit_state.h"

namespace murkfell {

void resetToStartingValues(CircuitState& state) {
  CircuitHistories& h = state.histories;
  h = CircuitHistories{};
  h.gain.fill(resting::gainInput, resting::gainOutput);
  h.shaperAa.fill(resting::firstStage, resting::firstStage);
  h.smoothLp.fill(resting::firstStage, resting::firstStage);
  h.coupling.fill(resting::firstStage, 0.0);
  h.downAa.fill(resting::secondStageSingle, resting::secondStageSingle);
  h.tone.fill(resting::secondStageDouble, 0.0);
}

}  // namespace murkfell
