#pragma once

#include <array>

#include "core/circuit/always_inline.h"

// Both staged loops (the oversampled part and the output stages) chain
// recurrences that feed one another. Skewing them turns the chain into a
// pipeline: in slot s stage i works on sample s − lag[i], so the stages of
// one slot work on different samples, never wait for one another, and step
// side by side in the lanes of one register.

namespace murkfell {

constexpr int pipelineStages = 4;
using StageLags = std::array<int, pipelineStages>;  // rising, lag[0] == 0

// Bit i set: stage i has a sample in the slot.
constexpr unsigned activeStages(const StageLags& lags, int slot, int frames) {
  unsigned active = 0;
  for (int i = 0; i < pipelineStages; ++i)
    if (slot >= lags[i] && slot - lags[i] < frames) active |= 1u << i;
  return active;
}

// Runs samples 0..frames−1 through the pipeline. The slots in which every
// stage has a sample go to stages.steady(first, last) in one call; the fill
// and drain slots around them go one by one to stages.edge(slot, active).
// Either can stop early: steady by returning a slot ≤ last, edge by
// returning false. Returns the slot that stopped, or the slot count when
// all ran.
template <class Stages>
MURKFELL_INLINE int drivePipeline(const StageLags& lags, int frames, Stages& stages) {
  const int depth = lags[pipelineStages - 1];
  const int slots = frames + depth;
  for (int slot = 0; slot < slots; ++slot) {
    if (slot == depth && depth < frames) {
      const int stopped = stages.steady(depth, frames - 1);
      if (stopped < frames) return stopped;
      slot = frames - 1;
      continue;
    }
    if (!stages.edge(slot, activeStages(lags, slot, frames))) return slot;
  }
  return slots;
}

}  // namespace murkfell
