#include "tools/guitar/repeated_plucks.h"

namespace guitar {
namespace {

constexpr double kOpenStrings[] = {82.41, 110.0, 146.83, 196.0, 246.94, 329.63};
constexpr double kRingSeconds = 2.0;

Pluck nthPluck(std::uint32_t n, double sampleRate, double amplitude) {
  return {kOpenStrings[n % 6], sampleRate, amplitude, kRingSeconds, n + 1};
}

}  // namespace

RepeatedPlucks::RepeatedPlucks(double sampleRate, float amplitude)
    : sampleRate(sampleRate),
      amplitude(amplitude),
      string(nthPluck(0, sampleRate, amplitude)),
      untilPluck(static_cast<long>(sampleRate / 2)) {}

void RepeatedPlucks::pluck() {
  string = PluckedString(nthPluck(++plucks, sampleRate, amplitude));
  untilPluck = static_cast<long>(sampleRate / 2);
}

float RepeatedPlucks::next() {
  if (untilPluck == 0) pluck();
  --untilPluck;
  return static_cast<float>(string.next());
}

}  // namespace guitar
