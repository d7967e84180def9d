// The largest output magnitude the pedal can produce with Bypass off and the
// knobs held still.
//
// Whatever the input, the second clipping stage produces values in
// [-0.5, 1.78], that is 0.64 ± 1.14. Everything between it and the output is
// linear and, through the tone stack, blocks DC; so the output cannot leave
// ±1.14 times the sum of the magnitudes of that path's impulse response: 1.565
// for the decimator low-pass times at most 6.75 for tone stack, cabinet and
// output amplifier at Level 1 (largest at Bass 1, Middle 0, Treble 0 with the
// cabinet on, at 44.1 and 96 kHz alike), 12.04 in all.
#pragma once

inline constexpr float kPeakBound = 12.1f;
