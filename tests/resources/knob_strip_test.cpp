// The knob strip: 61 frames of a round knob whose pointer sweeps a clockwise
// 300 degrees from 7 o'clock through 12 to 5 o'clock.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/resources/png_file.h"

namespace {

constexpr int kSide = 58;
constexpr int kFrames = 61;
constexpr double kCentre = kSide / 2.0;

class KnobStrip : public ::testing::Test {
 protected:
  void SetUp() override {
    auto loaded = readResource("knobAnimBitmap.png");
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->height, kSide * kFrames);
    ASSERT_EQ(loaded->channels, 4);
    image = std::move(*loaded);
  }

  // Direction of the pointer in degrees clockwise from straight up, from the
  // centroid of its light pixels; NaN when the frame has no pointer.
  double pointerAngle(int frame) const {
    double sumX = 0;
    double sumY = 0;
    int count = 0;
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const Rgba c = image.stored(x, frame * kSide + y);
        if (c.a == 255 && c.r > 180 && c.g > 180 && c.b > 180) {
          sumX += x + 0.5 - kCentre;
          sumY += y + 0.5 - kCentre;
          ++count;
        }
      }
    }
    if (count < 15) return std::nan("");
    return std::atan2(sumX, -sumY) * 180.0 / std::numbers::pi;
  }

  PngFile image;
};

TEST_F(KnobStrip, EveryFrameIsARoundKnobWithTransparentCorners) {
  for (int frame = 0; frame < kFrames; ++frame) {
    EXPECT_EQ(image.stored(29, frame * kSide + 29).a, 255) << "frame " << frame;
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        if (std::hypot(x + 0.5 - kCentre, y + 0.5 - kCentre) <= kCentre + 0.5) continue;
        ASSERT_EQ(image.stored(x, frame * kSide + y).a, 0)
            << "frame " << frame << " at " << x << ", " << y;
      }
    }
  }
}

// Frame 0 at 7 o'clock (-150), frame 30 straight up, frame 60 at 5 o'clock
// (+150), in equal steps between.
TEST_F(KnobStrip, EveryFrameTurnsFiveDegreesClockwise) {
  for (int frame = 0; frame < kFrames; ++frame) {
    EXPECT_NEAR(pointerAngle(frame), -150.0 + 5.0 * frame, 2.5) << "frame " << frame;
  }
}

}  // namespace
