#pragma once

namespace murkfell {

// Audio-taper potentiometer law: 1.0868x³ − 0.5092x² + 0.4224x with the three
// coefficients as single-precision constants; taper(0)=0, taper(1)=1.
double audioTaper(double x);

// Knob position as the designs use it: limited to [0, 1], NaN counting as 0,
// so that no knob value can make a network unstable.
double clampedKnob(float knob);

// Output level factor for a Level knob position, rounded to single precision.
float levelGainFor(float level);

}  // namespace murkfell
