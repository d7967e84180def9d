#pragma once

namespace murkfell {

// The vector units the loop can run its lanes on. Every one gives the same
// output bits; processBlock uses the widest one the CPU has unless a test or
// benchmark forces another.
enum class VectorUnit { sse2, avx2 };  // narrowest first

inline constexpr VectorUnit allVectorUnits[] = {VectorUnit::sse2, VectorUnit::avx2};

const char* nameOf(VectorUnit unit);

// Whether this CPU (and its operating system) can run the unit.
bool isAvailable(VectorUnit unit);

// The unit processBlock runs on: the widest available one, or the forced one.
VectorUnit activeVectorUnit();

// Makes processBlock run on `unit` in the whole process, for tests and
// benchmarks. Returns false and changes nothing when the unit is not
// available here.
bool forceVectorUnit(VectorUnit unit);

// Back to the widest available unit.
void releaseVectorUnit();

}  // namespace murkfell
