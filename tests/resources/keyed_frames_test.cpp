// The key-coloured controls: which frames are see-through, and what the
// opaque frames do to the background painted under them.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "tests/resources/png_file.h"

namespace {

PngFile load(const char* name) {
  auto image = readResource(name);
  if (!image) ADD_FAILURE() << name << " missing";
  return image ? std::move(*image) : PngFile{};
}

// Pixels of the frame that the editor draws at all.
int visiblePixels(const PngFile& image, int frame, int frameHeight) {
  int count = 0;
  for (int y = frame * frameHeight; y < (frame + 1) * frameHeight; ++y) {
    for (int x = 0; x < image.width; ++x) count += image.drawn(x, y).a != 0;
  }
  return count;
}

// The front face with one frame of a control drawn over it at (left, top).
Rgba composite(const PngFile& background, const PngFile& control, int frame, int frameHeight,
               int left, int top, int x, int y) {
  const int cx = x - left;
  const int cy = y - top;
  if (cx >= 0 && cy >= 0 && cx < control.width && cy < frameHeight) {
    const Rgba c = control.drawn(cx, frame * frameHeight + cy);
    if (c.a != 0) return c;
  }
  return background.stored(x, y);
}

class KeyedFrames : public ::testing::Test {
 protected:
  PngFile background = load("BackgroundBitmap.png");
  PngFile cabSim = load("CabSimBitmap.png");
  PngFile bypass = load("BypassBitmap.png");
  PngFile lamp = load("LedBitmap.png");
};

TEST_F(KeyedFrames, SeeThroughFramesAreEntirelyKeyColour) {
  ASSERT_EQ(cabSim.height, 56);
  ASSERT_EQ(bypass.height, 120);
  ASSERT_EQ(lamp.height, 32);
  EXPECT_EQ(visiblePixels(cabSim, 1, 28), 0) << "CabSim on";
  EXPECT_EQ(visiblePixels(bypass, 0, 60), 0) << "Bypass off";
  EXPECT_EQ(visiblePixels(bypass, 1, 60), 0) << "Bypass on";
  EXPECT_EQ(visiblePixels(lamp, 0, 16), 0) << "lamp lit";
}

// Edges must be blended against the panel, never toward the key colour: a
// near-key pixel would show as a coloured fringe where the key punches through.
TEST_F(KeyedFrames, OpaquePixelsStayFarFromTheKeyColour) {
  for (const PngFile* image : {&cabSim, &lamp}) {
    ASSERT_TRUE(image->keyColour);
    const auto& key = *image->keyColour;
    for (int y = 0; y < image->height; ++y) {
      for (int x = 0; x < image->width; ++x) {
        if (image->isKey(x, y)) continue;
        const Rgba c = image->stored(x, y);
        const double distance = std::hypot(c.r - key[0], c.g - key[1], c.b - key[2]);
        ASSERT_GT(distance, 80.0) << "near-key pixel at " << x << ", " << y;
      }
    }
  }
}

// Frame 0 holds the lever turned to "Off" with key colour around it; drawn
// over the background it hides the painted lever on the "On" side.
TEST_F(KeyedFrames, CabSimOffFrameMovesTheLeverToTheLeft) {
  ASSERT_EQ(cabSim.width, 28);
  EXPECT_TRUE(cabSim.isKey(0, 0));
  EXPECT_TRUE(cabSim.isKey(27, 27));
  EXPECT_GT(visiblePixels(cabSim, 0, 28), 0);

  auto chrome = [&](int frame, int fromX, int toX) {
    int count = 0;
    for (int y = 148; y < 159; ++y) {
      for (int x = fromX; x < toX; ++x) {
        const Rgba c = frame < 0 ? background.stored(x, y)
                                 : composite(background, cabSim, frame, 28, 156, 139, x, y);
        count += luminance(c) > 0.35;
      }
    }
    return count;
  };
  // Outside the hex nut (x 163 to 177) only the lever shows chrome.
  EXPECT_GE(chrome(-1, 178, 184), 4);
  EXPECT_EQ(chrome(-1, 156, 163), 0);
  EXPECT_EQ(chrome(0, 178, 184), 0);
  EXPECT_GE(chrome(0, 156, 163), 4);
}

// Frame 1 is a dark lamp on the panel colour that covers the whole painted
// lit lamp and its glow: opaque over the whole disc, so nothing of the lit
// lamp under it can show through.
TEST_F(KeyedFrames, DarkLampFrameCoversTheLitLamp) {
  ASSERT_EQ(lamp.width, 16);
  EXPECT_TRUE(lamp.isKey(0, 16));
  EXPECT_TRUE(lamp.isKey(15, 31));
  EXPECT_LT(luminance(lamp.stored(8, 24)), 0.1);
  constexpr double kGlowRadius = 7.8;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      if (std::hypot(x + 0.5 - 8.0, y + 0.5 - 8.0) <= kGlowRadius) {
        EXPECT_FALSE(lamp.isKey(x, 16 + y)) << "see-through inside the lamp at " << x << ", " << y;
      }
    }
  }
  for (int y = 184; y < 216; ++y) {
    for (int x = 154; x < 186; ++x) {
      const Rgba c = composite(background, lamp, 1, 16, 162, 192, x, y);
      ASSERT_FALSE(c.r > 200 && c.g > 170 && c.b < c.r - 45) << "glow left at " << x << ", " << y;
    }
  }
}

}  // namespace
