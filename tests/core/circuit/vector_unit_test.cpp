// The process-wide choice of vector unit that tests and benchmarks use (and
// that a test host on another system uses to run each path in turn).
#include "core/circuit/vector_unit.h"

#include <gtest/gtest.h>

#include "tests/support/forced_vector_unit.h"

namespace murkfell {
namespace {

VectorUnit widestAvailable() {
  VectorUnit widest = VectorUnit::sse2;
  for (VectorUnit unit : allVectorUnits)
    if (isAvailable(unit)) widest = unit;
  return widest;
}

TEST(VectorUnit, TheWidestAvailableRunsUnlessAnotherIsForced) {
  EXPECT_TRUE(isAvailable(VectorUnit::sse2));  // the x86-64 baseline
  EXPECT_EQ(activeVectorUnit(), widestAvailable());
  for (VectorUnit unit : allVectorUnits) {
    {
      const ForcedVectorUnit forced(unit);
      EXPECT_EQ(forced.available(), isAvailable(unit)) << nameOf(unit);
      EXPECT_EQ(activeVectorUnit(), forced.available() ? unit : widestAvailable()) << nameOf(unit);
    }
    EXPECT_EQ(activeVectorUnit(), widestAvailable()) << "after " << nameOf(unit);
  }
}

}  // namespace
}  // namespace murkfell
