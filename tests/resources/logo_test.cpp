// The maker's logo: white on transparent, drawn by the information panel into
// 140 of its 141 columns and centred above the panel's centred text.
#include <gtest/gtest.h>

#include "tests/resources/png_file.h"

namespace {

TEST(Logo, IsWhiteOnTransparentAndCentredInTheDrawnColumns) {
  const auto logo = readResource("OrvetonLogoBitmap.png");
  ASSERT_TRUE(logo);
  ASSERT_EQ(logo->width, 141);
  ASSERT_EQ(logo->channels, 4);
  int opaque = 0;
  double sumX = 0;
  double weight = 0;
  for (int y = 0; y < logo->height; ++y) {
    for (int x = 0; x < logo->width; ++x) {
      const Rgba c = logo->stored(x, y);
      if (c.a == 0) continue;
      EXPECT_TRUE(c.r == 255 && c.g == 255 && c.b == 255) << "not white at " << x << ", " << y;
      EXPECT_LT(x, 140) << "the panel never draws the last column";
      opaque += c.a == 255;
      sumX += (x + 0.5) * c.a;
      weight += c.a;
    }
  }
  EXPECT_GT(opaque, 500);
  EXPECT_EQ(logo->stored(0, 0).a, 0);
  EXPECT_NEAR(sumX / weight, 70.0, 1.5);
}

}  // namespace
