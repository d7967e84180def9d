// The values of the stored parameters, handed from any thread to the audio
// thread without locks: each value is one atomic float, written whole and read
// whole, so no reader ever sees a torn value.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "core/parameters.h"

namespace murkfell {

class ParameterStore {
 public:
  // Every stored parameter at its default.
  ParameterStore();

  // Stores the value exactly as given for a stored parameter; any other index
  // is ignored.
  void set(std::int32_t index, float value);
  // The stored value; a mirror reads what it mirrors; anything else reads 0.
  float get(std::int32_t index) const;

 private:
  std::array<std::atomic<float>, kNumParameters> values{};
};

}  // namespace murkfell
