#include "core/circuit/vector_unit.h"

#include <atomic>

namespace murkfell {

namespace {

VectorUnit widestUnit() {
  __builtin_cpu_init();  // cheap after the first call; safe before static constructors
  return __builtin_cpu_supports("avx2") ? VectorUnit::avx2 : VectorUnit::sse2;
}

// Constant-initialised, so it holds before any static constructor runs; read
// once per block on the audio thread, written only by tests and benchmarks.
constexpr int noForcedUnit = -1;
std::atomic<int> forcedUnit{noForcedUnit};

}  // namespace

const char* nameOf(VectorUnit unit) {
  switch (unit) {
    case VectorUnit::sse2:
      return "sse2";
    case VectorUnit::avx2:
      return "avx2";
  }
  return "?";
}

bool isAvailable(VectorUnit unit) { return unit <= widestUnit(); }

VectorUnit activeVectorUnit() {
  const int forced = forcedUnit.load(std::memory_order_relaxed);
  return forced == noForcedUnit ? widestUnit() : static_cast<VectorUnit>(forced);
}

bool forceVectorUnit(VectorUnit unit) {
  if (!isAvailable(unit)) return false;
  forcedUnit.store(static_cast<int>(unit), std::memory_order_relaxed);
  return true;
}

void releaseVectorUnit() { forcedUnit.store(noForcedUnit, std::memory_order_relaxed); }

}  // namespace murkfell
