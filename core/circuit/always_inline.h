#pragma once

// Lane code is written once for every vector unit and compiled into each
// unit's entry function (built for that unit's instruction set) by forced
// inlining: a helper left out of line would be built for the baseline.
#define MURKFELL_INLINE inline __attribute__((always_inline))
