#pragma once

#include <array>

#include "core/circuit/filter_section.h"
#include "core/circuit/polynomial.h"

namespace murkfell {

namespace detail {

// Coefficients of (1 − z⁻¹)^k · (1 + z⁻¹)^(n−k) for every k: the image of sᵏ
// once numerator and denominator are multiplied by (1 + z⁻¹)ⁿ.
template <int Order>
constexpr std::array<std::array<double, Order + 1>, Order + 1> bilinearExpansions() {
  std::array<std::array<double, Order + 1>, Order + 1> table{};
  for (int k = 0; k <= Order; ++k) {
    std::array<double, Order + 1> term{};
    term[0] = 1.0;
    for (int factor = 0; factor < Order; ++factor) {
      const double sign = factor < k ? -1.0 : 1.0;
      for (int j = Order; j > 0; --j) term[j] += sign * term[j - 1];
    }
    table[k] = term;
  }
  return table;
}

}  // namespace detail

// Discretises H(s) = numerator/denominator with s = 2·rate·(1 − z⁻¹)/(1 + z⁻¹),
// without prewarping, and normalises the denominator's z⁰ coefficient to 1.
template <int Order>
FilterCoefficients<Order> bilinearTransform(const Polynomial<Order>& numerator,
                                            const Polynomial<Order>& denominator, double rate) {
  static constexpr auto expansions = detail::bilinearExpansions<Order>();
  const double k2 = 2.0 * rate;
  std::array<double, Order + 1> b{}, a{};
  double power = 1.0;
  for (int k = 0; k <= Order; ++k) {
    const double numeratorTerm = numerator[k] * power;
    const double denominatorTerm = denominator[k] * power;
    for (int j = 0; j <= Order; ++j) {
      b[j] += numeratorTerm * expansions[k][j];
      a[j] += denominatorTerm * expansions[k][j];
    }
    power *= k2;
  }
  FilterCoefficients<Order> result;
  for (int j = 0; j <= Order; ++j) result.b[j] = b[j] / a[0];
  for (int j = 1; j <= Order; ++j) result.a[j - 1] = a[j] / a[0];
  return result;
}

}  // namespace murkfell
