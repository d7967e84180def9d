// Reading back what the toolkit drew into an image surface.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <ostream>

#include "toolkit/c_color.h"

// The colour at (x, y), with cairo's premultiplied alpha undone.
inline CColor pixelAt(cairo_surface_t* surface, int x, int y) {
  cairo_surface_flush(surface);
  const unsigned char* row =
      cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
  const std::uint32_t argb = reinterpret_cast<const std::uint32_t*>(row)[x];
  const unsigned alpha = argb >> 24;
  auto unpremultiply = [alpha](unsigned premultiplied) {
    return static_cast<unsigned char>(alpha == 0 ? 0 : (premultiplied * 255 + alpha / 2) / alpha);
  };
  return CColor{unpremultiply((argb >> 16) & 0xFF), unpremultiply((argb >> 8) & 0xFF),
                unpremultiply(argb & 0xFF), static_cast<unsigned char>(alpha)};
}

// A frame-sized ARGB32 surface filled with one opaque colour.
inline cairo_surface_t* filledSurface(int width, int height, CColor colour) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
  cairo_paint(cr);
  cairo_destroy(cr);
  return surface;
}

// Where anything but black lies on a surface, and how it looks.
struct LitArea {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;  // inclusive
  int brightest = 0;
  bool onlyGreys = true;
  bool antialiased = false;
};

inline LitArea litArea(cairo_surface_t* surface) {
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
      area.antialiased = area.antialiased || (c.red > 30 && c.red < 225);
    }
  }
  return area;
}

inline std::ostream& operator<<(std::ostream& out, const CColor& c) {
  return out << "rgba(" << int(c.red) << ", " << int(c.green) << ", " << int(c.blue) << ", "
             << int(c.alpha) << ")";
}
