// The information panel drawn off-screen onto a black ground.
#include "editor/murkfell_label.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "resources/resource_table.h"
#include "toolkit/c_draw_context.h"

namespace {

class Label : public ::testing::Test {
 protected:
  void SetUp() override {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 340, 400);
    paintBlack();
  }
  void TearDown() override {
    panel->forget();
    cairo_surface_destroy(surface);
  }

  void paintBlack() {
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
  }
  void draw() {
    CDrawContext context(surface);
    panel->draw(&context);
    cairo_surface_flush(surface);
  }
  std::uint32_t pixel(int x, int y) const {
    const auto* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
  }
  // Brightness-weighted horizontal centre of what is drawn in rows [top, bottom).
  double centreOfInk(int top, int bottom, double* ink) const {
    double sum = 0.0;
    double weighted = 0.0;
    for (int y = top; y < bottom; ++y) {
      for (int x = 0; x < 340; ++x) {
        const double value = pixel(x, y) & 0xFF;
        sum += value;
        weighted += value * x;
      }
    }
    *ink = sum;
    return sum > 0.0 ? weighted / sum : -1.0;
  }

  // The first and last columns with ink in rows [top, bottom), or {-1, -1}.
  std::pair<int, int> inkColumns(int top, int bottom) const {
    std::pair<int, int> columns{-1, -1};
    for (int x = 0; x < 340; ++x) {
      for (int y = top; y < bottom; ++y) {
        if (pixel(x, y) != 0) {
          columns.first = columns.first < 0 ? x : columns.first;
          columns.second = x;
          break;
        }
      }
    }
    return columns;
  }

  cairo_surface_t* surface = nullptr;
  MurkfellLabel* panel = new MurkfellLabel(CRect(70, 80, 270, 300), murkfell::findImage);
};

TEST_F(Label, DrawsOnlyInsideItsRectangles) {
  draw();
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 340; ++x) {
      const bool inLogo = x >= 100 && x < 240 && y >= 80 && y < 150;
      const bool inText = x >= 70 && x < 270 && y >= 180 && y < 300;
      if (!inLogo && !inText) {
        ASSERT_EQ(pixel(x, y), 0u) << x << "," << y;
      }
    }
  }
}

TEST_F(Label, LogoAndTextAreWhite) {
  draw();
  double logoInk = 0.0;
  centreOfInk(80, 150, &logoInk);
  EXPECT_GT(logoInk, 255.0 * 200) << "the logo is drawn";
  int bright = 0;
  std::uint32_t brightest = 0;
  for (int y = 180; y < 300; ++y) {
    for (int x = 70; x < 270; ++x) {
      const std::uint32_t value = pixel(x, y);
      ASSERT_EQ(value & 0xFF, (value >> 8) & 0xFF) << "grey, not coloured";
      ASSERT_EQ(value & 0xFF, (value >> 16) & 0xFF);
      bright += (value & 0xFF) >= 0xC0;
      brightest = std::max(brightest, value);
    }
  }
  EXPECT_GT(bright, 200);
  EXPECT_EQ(brightest, 0xFFFFFFu);
}

TEST_F(Label, TitleIsCentredOnThePanel) {
  draw();
  double ink = 0.0;
  const double centre = centreOfInk(220, 240, &ink);
  EXPECT_GT(ink, 0.0);
  EXPECT_NEAR(centre, 170.0, 2.0);
  for (int line = 0; line < 5; ++line) {
    const int top = line == 0 ? 180 : 200 + 20 * line;
    EXPECT_NEAR(centreOfInk(top, top + 20, &ink), 170.0, 3.0) << "line " << line + 1;
  }
}

// Every line fits its rectangle, also where the face drawn is not Arial's
// metric twin (ctest runs this suite again under such fonts).
TEST_F(Label, NoLineIsCutAtTheEdgesOfItsRectangle) {
  draw();
  for (int line = 0; line < 5; ++line) {
    const int top = line == 0 ? 180 : 200 + 20 * line;
    const auto [left, right] = inkColumns(top, top + 20);
    EXPECT_GT(left, 70) << "line " << line + 1;
    EXPECT_LT(right, 269) << "line " << line + 1;
  }
}

TEST_F(Label, DrawingAgainGivesTheSamePicture) {
  draw();
  const int size = cairo_image_surface_get_stride(surface) * 400;
  std::vector<unsigned char> first(cairo_image_surface_get_data(surface),
                                   cairo_image_surface_get_data(surface) + size);
  paintBlack();
  draw();
  EXPECT_EQ(std::memcmp(first.data(), cairo_image_surface_get_data(surface), size), 0);
}

}  // namespace
