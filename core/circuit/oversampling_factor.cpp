#include "core/circuit/oversampling_factor.h"

namespace murkfell {

int oversamplingFor(float sampleRate) { return sampleRate < 50000.0f ? maxOversampling : 7; }

}  // namespace murkfell
