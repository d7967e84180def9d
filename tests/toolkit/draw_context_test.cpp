#include <gtest/gtest.h>

#include <algorithm>

#include "tests/toolkit/pixels.h"
#include "toolkit/c_draw_context.h"

namespace {

struct LitArea {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;  // inclusive
  int brightest = 0;
  bool onlyGreys = true;
  bool someBetween = false;  // antialiased edge pixels
};

LitArea litArea(cairo_surface_t* surface) {
  LitArea area;
  for (int y = 0; y < cairo_image_surface_get_height(surface); ++y) {
    for (int x = 0; x < cairo_image_surface_get_width(surface); ++x) {
      const CColor c = pixelAt(surface, x, y);
      if (c.red == 0 && c.green == 0 && c.blue == 0) continue;
      area.left = std::min(area.left, x);
      area.right = std::max(area.right, x);
      area.top = std::min(area.top, y);
      area.bottom = std::max(area.bottom, y);
      area.brightest = std::max<int>(area.brightest, c.red);
      area.onlyGreys = area.onlyGreys && c.red == c.green && c.green == c.blue;
      area.someBetween = area.someBetween || (c.red > 30 && c.red < 225);
    }
  }
  return area;
}

class Text : public ::testing::Test {
 protected:
  ~Text() override { cairo_surface_destroy(surface); }
  cairo_surface_t* surface = filledSurface(340, 400, kBlackCColor);
  CDrawContext context{surface};
};

TEST_F(Text, WhiteTextIsCentredWithItsBaselineFromTheRectangle) {
  context.setFontColor(kWhiteCColor);
  context.setFont(kSystemFont, 10, -1);
  context.drawString("ORVETON VIRTUAL MURKFELL", CRect(70, 220, 270, 240), false, kCenterText);
  const LitArea lit = litArea(surface);
  EXPECT_NEAR((lit.left + lit.right) / 2.0, 170.0, 1.5);
  EXPECT_GT(lit.right - lit.left, 100);  // a 24-character line at 10 px
  // Capitals stand on the baseline 240 - (10 - 5 + 1) = 234.
  EXPECT_EQ(lit.bottom, 233);
  EXPECT_GE(lit.top, 224);
  EXPECT_TRUE(lit.onlyGreys);
  EXPECT_GE(lit.brightest, 230);
  EXPECT_TRUE(lit.someBetween);
}

TEST_F(Text, OddFontSizeUsesIntegerHalves) {
  context.setFont(kSystemFont, 11, -1);
  context.drawString("HIM", CRect(70, 180, 270, 200));
  // 200 - (10 - 5 + 1) = 194.
  EXPECT_EQ(litArea(surface).bottom, 193);
}

TEST_F(Text, TextIsClippedToItsRectangle) {
  context.drawString("A LINE FAR TOO WIDE FOR ITS SMALL BOX, CENTRED ALL THE SAME",
                     CRect(150, 100, 190, 120));
  const LitArea lit = litArea(surface);
  // Cut at both sides: lit up to the edges, never beyond.
  EXPECT_GE(lit.left, 150);
  EXPECT_LE(lit.left, 152);
  EXPECT_LE(lit.right, 189);
  EXPECT_GE(lit.right, 187);
  EXPECT_GE(lit.top, 100);
  EXPECT_LE(lit.bottom, 119);
}

TEST_F(Text, FontSetterKeepsSizeForZeroAndStyleForMinusOne) {
  EXPECT_EQ(context.getFontSize(), 12);
  const CFontDesc bold("Arial", 14, kBoldFace);
  context.setFont(&bold, 0, -1);
  EXPECT_EQ(context.getFontSize(), 14);
  EXPECT_EQ(context.getFontStyle(), kBoldFace);
  context.setFont(&bold, 9, kNormalFace);
  EXPECT_EQ(context.getFontSize(), 9);
  EXPECT_EQ(context.getFontStyle(), kNormalFace);
}

}  // namespace
