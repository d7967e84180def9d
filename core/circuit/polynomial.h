#pragma once

#include <array>
#include <cstddef>

namespace murkfell {

// Polynomial in s with real coefficients, lowest power first.
template <int Degree>
using Polynomial = std::array<double, Degree + 1>;

template <std::size_t M, std::size_t N>
constexpr std::array<double, M + N - 1> operator*(const std::array<double, M>& p,
                                                  const std::array<double, N>& q) {
  std::array<double, M + N - 1> product{};
  for (std::size_t i = 0; i < M; ++i)
    for (std::size_t j = 0; j < N; ++j) product[i + j] += p[i] * q[j];
  return product;
}

template <std::size_t N>
constexpr std::array<double, N> operator+(const std::array<double, N>& p,
                                          const std::array<double, N>& q) {
  std::array<double, N> sum{};
  for (std::size_t i = 0; i < N; ++i) sum[i] = p[i] + q[i];
  return sum;
}

template <std::size_t N>
constexpr std::array<double, N> operator*(double factor, const std::array<double, N>& p) {
  std::array<double, N> scaled{};
  for (std::size_t i = 0; i < N; ++i) scaled[i] = factor * p[i];
  return scaled;
}

// Raises a polynomial to a higher degree by adding zero coefficients.
template <int Degree, std::size_t N>
constexpr Polynomial<Degree> widened(const std::array<double, N>& p) {
  static_assert(N <= Degree + 1);
  Polynomial<Degree> result{};
  for (std::size_t i = 0; i < N; ++i) result[i] = p[i];
  return result;
}

}  // namespace murkfell
