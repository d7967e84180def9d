// Text where the fonts differ from a machine with fonts-liberation2. ctest
// runs each suite under the font configuration it is named after
// (tests/support/fonts/); run by hand, only InstalledFonts applies.
#include <gtest/gtest.h>

#include "tests/toolkit/pixels.h"
#include "toolkit/c_draw_context.h"
#include "toolkit/font_metrics.h"

namespace {

constexpr const char* kTooWide = "A LINE FAR TOO WIDE FOR ITS SMALL BOX";
constexpr CRect kSmallBox(150, 100, 190, 120);

class Fallback : public ::testing::Test {
 protected:
  ~Fallback() override { cairo_surface_destroy(surface); }
  void blackOut(const CRect& rect) {
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, rect.left, rect.top, rect.width(), rect.height());
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
    cairo_destroy(cr);
  }

  cairo_surface_t* surface = filledSurface(340, 400, kBlackCColor);
  CDrawContext context{surface};
};

using InstalledFonts = Fallback;
using WithoutArialMetrics = Fallback;
using NoFonts = Fallback;

TEST_F(InstalledFonts, ArialHasAMetricTwinInEveryStyleAndAnUnknownFamilyHasNone) {
  for (const bool bold : {false, true}) {
    for (const bool italic : {false, true}) {
      EXPECT_TRUE(drawsWithOwnMetrics("Arial", bold, italic))
          << "bold " << bold << ", italic " << italic << ": is fonts-liberation2 installed?";
    }
  }
  EXPECT_FALSE(drawsWithOwnMetrics("Murkfell Absent Face", false, false));
}

TEST_F(WithoutArialMetrics, ArialFallsBackToAFaceOfOtherMetrics) {
  EXPECT_FALSE(drawsWithOwnMetrics("Arial", false, false));
}

TEST_F(WithoutArialMetrics, ALineTooWideForItsBoxIsMadeSmallerToFitInsteadOfCut) {
  context.drawString(kTooWide, kSmallBox);
  const LitArea lit = litArea(surface);
  EXPECT_GT(lit.left, kSmallBox.left);
  EXPECT_LT(lit.right, kSmallBox.right - 1);
  EXPECT_NEAR((lit.left + lit.right) / 2.0, 170.0, 1.5);
  EXPECT_LE(lit.bottom, 114);  // still on the baseline 120 - (10 - 6 + 1)
  EXPECT_GE(lit.top, kSmallBox.top);
}

// Cairo draws in a face of its own when fontconfig offers none.
TEST_F(NoFonts, TextIsStillDrawnCentredAndTheContextStaysUsable) {
  EXPECT_FALSE(drawsWithOwnMetrics("Arial", false, false));
  context.setFont(kSystemFont, 10, -1);
  context.drawString("ORVETON VIRTUAL MURKFELL", CRect(70, 220, 270, 240));
  const LitArea title = litArea(surface);
  EXPECT_GT(title.right - title.left, 100);
  EXPECT_NEAR((title.left + title.right) / 2.0, 170.0, 1.5);
  EXPECT_GE(title.top, 220);
  EXPECT_LE(title.bottom, 239);

  context.drawString(kTooWide, kSmallBox);
  EXPECT_EQ(cairo_status(context.getCairo()), CAIRO_STATUS_SUCCESS);
  blackOut(CRect(0, 200, 340, 400));
  const LitArea second = litArea(surface);
  EXPECT_NEAR((second.left + second.right) / 2.0, 170.0, 1.5) << "the second line is drawn too";
  EXPECT_GT(second.left, kSmallBox.left);
  EXPECT_LT(second.right, kSmallBox.right - 1);
  EXPECT_GE(second.top, kSmallBox.top);
}

}  // namespace
