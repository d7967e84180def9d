// The Win32 toolkit's drawing: PNG decoding and transparency through GDI+,
// sub-images and text, read back from the frame's off-screen image.
#include <windows.h>
// GDI+ builds on the Windows headers.
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <span>

#include "resources/library_module.h"
#include "resources/resource_table.h"
#include "toolkit/c_bitmap.h"
#include "toolkit/c_draw_context.h"
#include "toolkit/c_frame.h"
#include "toolkit/c_on_off_button.h"

namespace {

constexpr CColor kRed{255, 0, 0, 255};

// The images are linked into this program as resources, as into the DLL.
class Images : public ::testing::Test {
 protected:
  void SetUp() override { murkfell::libraryModule = GetModuleHandleW(nullptr); }
  void TearDown() override { frame->forget(); }

  CColor pixel(int x, int y) const {
    Gdiplus::Color colour;
    frame->getImage()->GetPixel(x, y, &colour);
    return {colour.GetR(), colour.GetG(), colour.GetB(), colour.GetA()};
  }
  void fill(const CColor& colour) {
    CDrawContext context(frame->getImage());
    context.fillRect(frame->getViewSize(), colour);
  }

  CFrame* frame = new CFrame(CRect(0, 0, 340, 400), nullptr, nullptr);
};

TEST_F(Images, DecodesTheSizesOfThePanelImages) {
  const struct {
    const char* name;
    CCoord width, height;
  } images[] = {{"BackgroundBitmap.png", 340, 800}, {"knobAnimBitmap.png", 58, 3538},
                {"LedBitmap.png", 16, 32},          {"CabSimBitmap.png", 28, 56},
                {"BypassBitmap.png", 60, 120},      {"OrvetonLogoBitmap.png", 141, 70}};
  for (const auto& image : images) {
    CBitmap* bitmap = new CBitmap(murkfell::findImage(image.name));
    EXPECT_TRUE(bitmap->isLoaded()) << image.name;
    EXPECT_EQ(bitmap->getWidth(), image.width) << image.name;
    EXPECT_EQ(bitmap->getHeight(), image.height) << image.name;
    bitmap->forget();
  }
}

TEST_F(Images, BrokenOrMissingBytesGiveAnEmptyBitmapThatDrawsNothing) {
  const std::span<const unsigned char> lamp = murkfell::findImage("LedBitmap.png");
  for (std::span<const unsigned char> bytes : {std::span<const unsigned char>{}, lamp.first(40)}) {
    CBitmap* bitmap = new CBitmap(bytes);
    EXPECT_FALSE(bitmap->isLoaded());
    EXPECT_EQ(bitmap->getWidth(), 0);
    fill(kRed);
    {
      CDrawContext context(frame->getImage());
      bitmap->draw(&context, CRect(0, 0, 16, 16));
    }
    EXPECT_EQ(pixel(8, 8), kRed);
    bitmap->forget();
  }
}

TEST_F(Images, KeyColourDrawsNothingAndAlphaBlends) {
  CBitmap* lamp = new CBitmap(murkfell::findImage("LedBitmap.png"));
  CBitmap* knob = new CBitmap(murkfell::findImage("knobAnimBitmap.png"));
  fill(kRed);
  {
    CDrawContext context(frame->getImage());
    lamp->draw(&context, CRect(0, 0, 16, 16));                         // frame 0: all key colour
    lamp->draw(&context, CRect(20, 0, 36, 16), CPoint(0, 16));         // frame 1: the dark lamp
    knob->draw(&context, CRect(100, 0, 158, 58), CPoint(0, 58 * 30));  // knob pointing up
  }
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) ASSERT_EQ(pixel(x, y), kRed) << x << ", " << y;
  }
  EXPECT_NE(pixel(28, 8), kRed);   // the lamp's disc
  EXPECT_EQ(pixel(20, 0), kRed);   // key colour around it
  EXPECT_EQ(pixel(100, 0), kRed);  // the knob's transparent corner
  EXPECT_NE(pixel(129, 29), kRed);
  EXPECT_EQ(pixel(129, 29).alpha, 255);
  EXPECT_EQ(pixel(158, 29), kRed);  // nothing beyond the rectangle
  lamp->forget();
  knob->forget();
}

// Drawn at idle over the frame's black: the lever at 0, only key colour at 1.
TEST_F(Images, OnOffButtonShowsTheLowerHalfWhenOn) {
  CBitmap* image = new CBitmap(murkfell::findImage("CabSimBitmap.png"));
  auto* toggle = new COnOffButton(CRect(156, 139, 184, 167), nullptr, 6, image);
  image->forget();
  frame->addView(toggle);
  const auto litPixels = [this] {
    int lit = 0;
    for (int y = 139; y < 167; ++y) {
      for (int x = 156; x < 184; ++x) lit += pixel(x, y) != kBlackCColor;
    }
    return lit;
  };
  frame->idle();
  EXPECT_GT(litPixels(), 50);
  toggle->setValue(1.0f);
  frame->idle();
  EXPECT_EQ(litPixels(), 0);
}

TEST_F(Images, CentredTextStaysInsideItsRectangle) {
  fill(kBlackCColor);
  {
    CDrawContext context(frame->getImage());
    context.setFont(kSystemFont, 10);
    context.drawString("ORVETON VIRTUAL MURKFELL", CRect(70, 220, 270, 240));
  }
  int left = 340, right = -1, lit = 0;
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 340; ++x) {
      if (pixel(x, y).red < 128) continue;
      ++lit;
      ASSERT_TRUE(CRect(70, 220, 270, 240).pointInside(CPoint(x, y))) << x << ", " << y;
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  EXPECT_GT(lit, 100);
  EXPECT_NEAR((left + right) / 2.0, 170.0, 3.0);
}

// The columns of lit pixels in a strip of the frame's image.
struct Ink {
  int left = 340, right = -1, pixels = 0;
};

TEST_F(Images, LineTooWideForAStandInShrinksToFitButOneInItsOwnFontIsCut) {
  static const CFontDesc missing("No Such Font Anywhere", 12);
  const CRect box(100, 10, 220, 30);
  const auto inkOf = [&](CFontRef font) {
    fill(kBlackCColor);
    {
      CDrawContext context(frame->getImage());
      context.setFont(font);
      context.drawString("ORVETON VIRTUAL MURKFELL", box);
    }
    Ink ink;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 340; ++x) {
        if (pixel(x, y).red < 64) continue;
        ++ink.pixels;
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
      }
    }
    return ink;
  };
  const Ink shrunk = inkOf(&missing);
  EXPECT_GT(shrunk.pixels, 30);
  EXPECT_GE(shrunk.left, 101);  // two pixels kept free, antialiasing may reach one
  EXPECT_LE(shrunk.right, 218);
  const Ink cut = inkOf(kSystemFont);
  EXPECT_LE(cut.left, 102);  // the letters run on beyond both sides
  EXPECT_GE(cut.right, 217);
  EXPECT_GE(cut.left, 100);
  EXPECT_LE(cut.right, 219);
}

}  // namespace
