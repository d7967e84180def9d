// Every image file has the size, pixel format and transparency the editor's
// controls are built around.
#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <optional>
#include <ostream>
#include <string>

#include "tests/resources/png_file.h"

namespace {

struct Expected {
  std::string name;
  int width;
  int height;
  int colorType;
  std::optional<std::array<int, 3>> key;
};

constexpr std::array<int, 3> kCyan{0, 162, 232};
constexpr std::array<int, 3> kWhite{255, 255, 255};

void PrintTo(const Expected& expected, std::ostream* out) { *out << expected.name; }

class ImageFormat : public ::testing::TestWithParam<Expected> {};

TEST_P(ImageFormat, MatchesSizeColourTypeDepthInterlaceAndKey) {
  const Expected& want = GetParam();
  const auto image = readResource(want.name);
  ASSERT_TRUE(image) << want.name << " missing or unreadable";
  EXPECT_EQ(image->width, want.width);
  EXPECT_EQ(image->height, want.height);
  EXPECT_EQ(image->colorType, want.colorType);
  EXPECT_EQ(image->bitDepth, 8);
  EXPECT_EQ(image->interlace, PNG_INTERLACE_NONE);
  EXPECT_EQ(image->keyColour, want.key);
}

INSTANTIATE_TEST_SUITE_P(
    EditorImages, ImageFormat,
    ::testing::Values(
        Expected{"BackgroundBitmap.png", 340, 800, PNG_COLOR_TYPE_RGB_ALPHA, std::nullopt},
        Expected{"knobAnimBitmap.png", 58, 3538, PNG_COLOR_TYPE_RGB_ALPHA, std::nullopt},
        Expected{"CabSimBitmap.png", 28, 56, PNG_COLOR_TYPE_RGB, kCyan},
        Expected{"BypassBitmap.png", 60, 120, PNG_COLOR_TYPE_RGB, kWhite},
        Expected{"LedBitmap.png", 16, 32, PNG_COLOR_TYPE_RGB, kCyan},
        Expected{"OrvetonLogoBitmap.png", 141, 70, PNG_COLOR_TYPE_RGB_ALPHA, std::nullopt}),
    [](const ::testing::TestParamInfo<Expected>& info) {
      return info.param.name.substr(0, info.param.name.find('.'));
    });

}  // namespace
