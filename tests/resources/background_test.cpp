// The background: front face above, back face below, both fully opaque, with
// the painted parts where the editor's controls and panel expect them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/resources/png_file.h"

namespace {

class Background : public ::testing::Test {
 protected:
  void SetUp() override {
    auto loaded = readResource("BackgroundBitmap.png");
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->width, 340);
    ASSERT_EQ(loaded->height, 800);
    ASSERT_EQ(loaded->channels, 4);
    image = std::move(*loaded);
  }
  PngFile image;
};

TEST_F(Background, EveryPixelOfBothFacesIsOpaque) {
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      ASSERT_EQ(image.stored(x, y).a, 255) << "at " << x << ", " << y;
    }
  }
}

// The information panel writes white text over 70,80 - 270,300 of the back
// face: the ground there must carry no edges and be dark enough to read.
TEST_F(Background, InformationPanelAreaOnBackFaceIsPlainAndDark) {
  for (int y = 480; y < 700; ++y) {
    for (int x = 70; x < 270; ++x) {
      const Rgba here = image.stored(x, y);
      for (const Rgba next : {image.stored(x + 1, y), image.stored(x, y + 1)}) {
        ASSERT_LE(std::abs(here.r - next.r), 2) << "edge at " << x << ", " << y;
        ASSERT_LE(std::abs(here.g - next.g), 2) << "edge at " << x << ", " << y;
        ASSERT_LE(std::abs(here.b - next.b), 2) << "edge at " << x << ", " << y;
      }
      const double contrastWithWhite = 1.05 / (luminance(here) + 0.05);
      ASSERT_GE(contrastWithWhite, 7.0) << "too light at " << x << ", " << y;
    }
  }
}

// The lit lamp is painted so that the lamp control's 16 x 16 dark frame can
// cover it completely.
TEST_F(Background, LitLampIsPaintedInsideTheLampRectangle) {
  const Rgba centre = image.stored(170, 200);
  EXPECT_GE(centre.r, 240);
  EXPECT_GE(centre.g, 230);
  EXPECT_GE(centre.b, 170);
  int bright = 0;
  double sumX = 0;
  double sumY = 0;
  // Between the CabSim toggle and the product name; the silk-screen ink is
  // paler and less saturated than the glow.
  for (int y = 170; y < 222; ++y) {
    for (int x = 130; x < 210; ++x) {
      const Rgba c = image.stored(x, y);
      if (c.r < 200 || c.g < 170 || c.b > c.r - 45) continue;
      ASSERT_TRUE(x >= 162 && x < 178 && y >= 192 && y < 208) << "glow at " << x << ", " << y;
      ++bright;
      sumX += x + 0.5;
      sumY += y + 0.5;
    }
  }
  ASSERT_GT(bright, 20);
  EXPECT_NEAR(sumX / bright, 170.0, 1.0);
  EXPECT_NEAR(sumY / bright, 200.0, 1.0);
}

// The product name is the light lettering between the lamp and the small
// subtitle under it; its rows are fixed by the panel layout.
TEST_F(Background, ProductNameFillsItsRow) {
  int first = -1;
  int last = -1;
  for (int y = 212; y < 252; ++y) {
    for (int x = 40; x < 300; ++x) {
      const Rgba c = image.stored(x, y);
      if (c.r > 200 && c.g > 200 && c.b > 170) {
        if (first < 0) first = y;
        last = y;
        break;
      }
    }
  }
  EXPECT_NEAR(first, 226, 3);
  EXPECT_NEAR(last, 247, 2);
}

}  // namespace
