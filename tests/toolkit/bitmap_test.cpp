#include <gtest/gtest.h>

#include "resources/resource_table.h"
#include "tests/toolkit/pixels.h"
#include "toolkit/c_bitmap.h"
#include "toolkit/c_draw_context.h"

namespace {

constexpr CColor kGrey{90, 90, 90, 255};
constexpr CColor kKey{0, 162, 232, 255};

// Draws the whole bitmap at the top left of a grey surface.
class BitmapDrawing : public ::testing::Test {
 protected:
  ~BitmapDrawing() override { cairo_surface_destroy(surface); }
  void drawAll(const char* name) {
    auto* bitmap = new CBitmap(murkfell::findImage(name));
    CDrawContext context(surface);
    bitmap->draw(&context, CRect(0, 0, bitmap->getWidth(), bitmap->getHeight()));
    bitmap->forget();
  }
  cairo_surface_t* surface = filledSurface(8, 8, kGrey);
};

TEST(Bitmap, CountsReferencesFromOne) {
  auto* bitmap = new CBitmap(murkfell::findImage("Alpha.png"));
  EXPECT_EQ(bitmap->getNbReference(), 1);
  bitmap->remember();
  bitmap->remember();
  EXPECT_EQ(bitmap->getNbReference(), 3);
  bitmap->forget();
  EXPECT_EQ(bitmap->getNbReference(), 2);
  bitmap->forget();
  bitmap->forget();  // deletes; LeakSanitizer runs would report a missed delete
}

TEST(Bitmap, DecodesByNameIgnoringCase) {
  auto* bitmap = new CBitmap(murkfell::findImage("strip61.PNG"));
  EXPECT_TRUE(bitmap->isLoaded());
  EXPECT_EQ(bitmap->getWidth(), 3);
  EXPECT_EQ(bitmap->getHeight(), 122);
  bitmap->forget();
}

TEST(Bitmap, MissingOrUndecodableResourceIsEmpty) {
  for (const char* name : {"NoSuchImage.png", "Broken.png", ""}) {
    auto* bitmap = new CBitmap(murkfell::findImage(name));
    EXPECT_FALSE(bitmap->isLoaded()) << name;
    EXPECT_EQ(bitmap->getWidth(), 0) << name;
    EXPECT_EQ(bitmap->getHeight(), 0) << name;
    bitmap->forget();
  }
}

TEST_F(BitmapDrawing, AlphaChannelBlendsAndKeyColourStaysOpaque) {
  drawAll("Alpha.png");
  EXPECT_EQ(pixelAt(surface, 0, 0), kGrey);    // alpha 0
  EXPECT_EQ(pixelAt(surface, 1, 0), kKey);     // the key colour is an ordinary colour here
  const CColor half = pixelAt(surface, 2, 0);  // red at alpha 128 over grey
  EXPECT_NEAR(half.red, (255 * 128 + 90 * 127) / 255, 2);
  EXPECT_NEAR(half.green, 90 * 127 / 255, 2);
  EXPECT_EQ(pixelAt(surface, 3, 0), (CColor{0, 255, 0, 255}));
}

TEST_F(BitmapDrawing, KeyColourOfImageWithoutAlphaDrawsNothing) {
  drawAll("Keyed.png");
  EXPECT_EQ(pixelAt(surface, 0, 0), kGrey);
  EXPECT_EQ(pixelAt(surface, 1, 0), (CColor{255, 0, 0, 255}));
  EXPECT_EQ(pixelAt(surface, 2, 0), kGrey);
  EXPECT_EQ(pixelAt(surface, 3, 0), (CColor{0, 0, 255, 255}));
}

TEST_F(BitmapDrawing, DrawsTheSubRectangleAtTheOffsetClippedToTheTarget) {
  auto* bitmap = new CBitmap(murkfell::findImage("OnOff.png"));
  CDrawContext context(surface);
  // The lower (blue) half, drawn 2 x 2 at (5, 5).
  bitmap->draw(&context, CRect(5, 5, 7, 7), CPoint(0, 4));
  bitmap->forget();
  EXPECT_EQ(pixelAt(surface, 5, 5), (CColor{0, 0, 200, 255}));
  EXPECT_EQ(pixelAt(surface, 6, 6), (CColor{0, 0, 200, 255}));
  EXPECT_EQ(pixelAt(surface, 7, 7), kGrey);
  EXPECT_EQ(pixelAt(surface, 4, 5), kGrey);
}

}  // namespace
