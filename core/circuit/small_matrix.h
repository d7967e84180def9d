// Fixed-size dense matrices and a linear solve for the few small systems the
// capacitor models need. Plain arrays on the stack: usable on the audio thread.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

namespace murkfell {

template <std::size_t N>
using Vector = std::array<double, N>;

// Row-major: m[row][column].
template <std::size_t Rows, std::size_t Cols>
using Matrix = std::array<std::array<double, Cols>, Rows>;

template <std::size_t N>
Matrix<N, N> identity() {
  Matrix<N, N> m{};
  for (std::size_t i = 0; i < N; ++i) m[i][i] = 1.0;
  return m;
}

template <std::size_t N>
Vector<N> operator*(const Matrix<N, N>& m, const Vector<N>& v) {
  Vector<N> product{};
  for (std::size_t i = 0; i < N; ++i)
    for (std::size_t j = 0; j < N; ++j) product[i] += m[i][j] * v[j];
  return product;
}

template <std::size_t N>
double dot(const Vector<N>& u, const Vector<N>& v) {
  double sum = 0.0;
  for (std::size_t i = 0; i < N; ++i) sum += u[i] * v[i];
  return sum;
}

// Solves m·x = rhs for every column of rhs by Gaussian elimination with
// partial pivoting; rhs receives the solutions and m is consumed. Answers
// false, leaving rhs unusable, when m is singular or the result not finite.
template <std::size_t N, std::size_t Cols>
bool solveInPlace(Matrix<N, N>& m, Matrix<N, Cols>& rhs) {
  constexpr int n = static_cast<int>(N), cols = static_cast<int>(Cols);
  for (int col = 0; col < n; ++col) {
    int pivot = col;
    for (int row = col + 1; row < n; ++row)
      if (std::fabs(m[row][col]) > std::fabs(m[pivot][col])) pivot = row;
    if (m[pivot][col] == 0.0) return false;
    std::swap(m[pivot], m[col]);
    std::swap(rhs[pivot], rhs[col]);
    for (int row = col + 1; row < n; ++row) {
      const double factor = m[row][col] / m[col][col];
      for (int j = col; j < n; ++j) m[row][j] -= factor * m[col][j];
      for (int j = 0; j < cols; ++j) rhs[row][j] -= factor * rhs[col][j];
    }
  }
  for (int row = n - 1; row >= 0; --row)
    for (int j = 0; j < cols; ++j) {
      double sum = rhs[row][j];
      for (int k = row + 1; k < n; ++k) sum -= m[row][k] * rhs[k][j];
      rhs[row][j] = sum / m[row][row];
      if (!std::isfinite(rhs[row][j])) return false;
    }
  return true;
}

}  // namespace murkfell
