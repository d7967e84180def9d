// Runs processBlock on one vector unit for the lifetime of the object.
#pragma once

#include "core/circuit/vector_unit.h"

class ForcedVectorUnit {
 public:
  // available() is false, and nothing changes, when this CPU lacks the unit.
  explicit ForcedVectorUnit(murkfell::VectorUnit unit) : forced(murkfell::forceVectorUnit(unit)) {}
  ~ForcedVectorUnit() {
    if (forced) murkfell::releaseVectorUnit();
  }
  ForcedVectorUnit(const ForcedVectorUnit&) = delete;
  ForcedVectorUnit& operator=(const ForcedVectorUnit&) = delete;

  bool available() const { return forced; }

 private:
  const bool forced;
};
