// An endless guitar-like test signal: one string re-plucked every half second,
// walking through the six open strings. The same samples on every machine.
#pragma once

#include <cstdint>

#include "tools/guitar/plucked_string.h"

namespace guitar {

class RepeatedPlucks {
 public:
  // Each pluck's attack peaks at `amplitude`.
  explicit RepeatedPlucks(double sampleRate, float amplitude = 0.3f);

  float next();

 private:
  void pluck();

  double sampleRate;
  double amplitude;
  PluckedString string;
  long untilPluck;
  std::uint32_t plucks = 0;
};

}  // namespace guitar
