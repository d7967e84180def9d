// An 8-bit RGBA colour.
#pragma once

struct CColor {
  unsigned char red = 0;
  unsigned char green = 0;
  unsigned char blue = 0;
  unsigned char alpha = 255;

  constexpr bool operator==(const CColor&) const = default;
};

inline constexpr CColor kWhiteCColor{255, 255, 255, 255};
inline constexpr CColor kBlackCColor{0, 0, 0, 255};
