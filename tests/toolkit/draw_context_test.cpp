#include <gtest/gtest.h>

#include "tests/toolkit/pixels.h"
#include "toolkit/c_draw_context.h"

namespace {

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
  EXPECT_GT(lit.right - lit.left, 100);
  // Capitals stand on the baseline 240 - (20/2 - 10/2 + 1) = 234.
  EXPECT_EQ(lit.bottom, 233);
  EXPECT_GE(lit.top, 224);
  EXPECT_TRUE(lit.onlyGreys);
  EXPECT_GE(lit.brightest, 230);
  EXPECT_TRUE(lit.antialiased);
}

TEST_F(Text, OddSizeUsesIntegerHalvesAndTextIsClippedToItsRectangle) {
  context.setFont(kSystemFont, 11, -1);
  context.drawString("HIM", CRect(70, 180, 270, 200));
  EXPECT_EQ(litArea(surface).bottom, 193);  // 200 - (10 - 5 + 1)

  cairo_surface_t* other = filledSurface(340, 400, kBlackCColor);
  CDrawContext narrow(other);
  narrow.drawString("A LINE FAR TOO WIDE FOR ITS SMALL BOX, CENTRED ALL THE SAME",
                    CRect(150, 100, 190, 120));
  const LitArea lit = litArea(other);
  cairo_surface_destroy(other);
  EXPECT_GE(lit.left, 150);  // cut at both sides: lit up to the edges, never beyond
  EXPECT_LE(lit.left, 152);
  EXPECT_LE(lit.right, 189);
  EXPECT_GE(lit.right, 187);
  EXPECT_GE(lit.top, 100);
  EXPECT_LE(lit.bottom, 119);
}

}  // namespace
