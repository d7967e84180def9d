#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace murkfell {

// Values strictly inside ±flushThreshold count as silence and are set to exact
// zero, which keeps decaying tails out of the subnormal range.
inline constexpr double flushThreshold = 1e-15;

// |value| < bound as one integer compare of the magnitude bits, which keep
// the order of the values they encode (every NaN lies above the bound): the
// same decisions as the two-sided test, kept off the floating-point pipes.
inline constexpr std::uint64_t magnitudeBits = 0x7fffffffffffffff;
inline constexpr std::uint64_t flushThresholdBits = std::bit_cast<std::uint64_t>(flushThreshold);

inline bool isBelowFlushThreshold(double value) {
  return (std::bit_cast<std::uint64_t>(value) & magnitudeBits) < flushThresholdBits;
}

// Direct-form-I coefficients of an IIR section of the given order; a0 is 1 and
// not stored, so a[0] is a1.
template <int Order>
struct FilterCoefficients {
  std::array<double, Order + 1> b{};
  std::array<double, Order> a{};

  bool operator==(const FilterCoefficients&) const = default;
};

// Input and output histories of one section; x[0] and y[0] are the most recent.
// Kept apart from the coefficients because three sections share one set.
template <int Order>
struct FilterHistory {
  std::array<double, Order> x{};
  std::array<double, Order> y{};

  bool operator==(const FilterHistory&) const = default;

  void fill(double inputs, double outputs) {
    x.fill(inputs);
    y.fill(outputs);
  }

  // Feed-forward products summed first, then the feedback products
  // subtracted one at a time, a1·Y1 first.
  double output(const FilterCoefficients<Order>& c, double in) const {
    double sum = c.b[0] * in;
    for (int i = 0; i < Order; ++i) sum += c.b[i + 1] * x[i];
    for (int i = 0; i < Order; ++i) sum -= c.a[i] * y[i];
    return sum;
  }

  void shift(double in, double out) {
    for (int i = Order - 1; i > 0; --i) {
      x[i] = x[i - 1];
      y[i] = y[i - 1];
    }
    x[0] = in;
    y[0] = out;
  }

  // One step without the flush rule (the oversampling low-passes flush once
  // per block instead).
  double step(const FilterCoefficients<Order>& c, double in) {
    const double out = output(c, in);
    shift(in, out);
    return out;
  }

  // One step with the flush rule: when the new output and the `Tested` most
  // recent previous outputs are all silent, they all become exact zeros.
  template <int Tested>
  double stepFlushed(const FilterCoefficients<Order>& c, double in) {
    static_assert(Tested >= 1 && Tested <= Order);
    double out = output(c, in);
    if (isBelowFlushThreshold(out) && previousOutputsSilent<Tested>()) {
      out = 0.0;
      for (int i = 0; i < Tested; ++i) y[i] = 0.0;
    }
    shift(in, out);
    return out;
  }

  template <int Tested>
  bool previousOutputsSilent() const {
    for (int i = 0; i < Tested; ++i)
      if (!isBelowFlushThreshold(y[i])) return false;
    return true;
  }

  // Block-end flush of the oversampling low-passes: all outputs or none.
  void flushOutputsIfSilent() {
    if (previousOutputsSilent<Order>()) y.fill(0.0);
  }
};

}  // namespace murkfell
