// A point in panel pixels: h grows to the right, v grows downwards.
#pragma once

using CCoord = long;

struct CPoint {
  CCoord h = 0;
  CCoord v = 0;

  constexpr CPoint() = default;
  constexpr CPoint(CCoord h, CCoord v) : h(h), v(v) {}

  constexpr bool operator==(const CPoint&) const = default;
};
