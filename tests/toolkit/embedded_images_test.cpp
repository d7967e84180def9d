// The plug-in's own images, embedded by the same rule as the test images.
#include <gtest/gtest.h>

#include "toolkit/c_bitmap.h"

namespace {

struct ImageSize {
  const char* name;
  CCoord width;
  CCoord height;
};

TEST(EmbeddedImages, AllSixDecodeAtTheirSizes) {
  for (const ImageSize& image : {ImageSize{"BackgroundBitmap.png", 340, 800},
                                 ImageSize{"knobAnimBitmap.png", 58, 3538},
                                 ImageSize{"CabSimBitmap.png", 28, 56},
                                 ImageSize{"BypassBitmap.png", 60, 120},
                                 ImageSize{"LedBitmap.png", 16, 32},
                                 ImageSize{"OrvetonLogoBitmap.png", 141, 70}}) {
    auto* bitmap = new CBitmap(CResourceDescription(image.name));
    EXPECT_EQ(bitmap->getWidth(), image.width) << image.name;
    EXPECT_EQ(bitmap->getHeight(), image.height) << image.name;
    bitmap->forget();
  }
}

}  // namespace
