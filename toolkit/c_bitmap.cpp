#include "toolkit/c_bitmap.h"

#include <cstring>
#include <span>

#include "toolkit/c_draw_context.h"

namespace {

// Feeds cairo's PNG reader from bytes in memory.
struct PngSource {
  std::span<const unsigned char> bytes;
  std::size_t position = 0;
};

cairo_status_t readPng(void* closure, unsigned char* data, unsigned int length) {
  auto* source = static_cast<PngSource*>(closure);
  if (source->bytes.size() - source->position < length) {
    return CAIRO_STATUS_READ_ERROR;
  }
  std::memcpy(data, source->bytes.data() + source->position, length);
  source->position += length;
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

CBitmap::CBitmap(std::span<const unsigned char> png) {
  PngSource source{png};
  if (source.bytes.empty()) {
    return;
  }
  // cairo turns a tRNS key colour into alpha 0, so both kinds of
  // transparency reach the surface as an alpha channel.
  cairo_surface_t* decoded = cairo_image_surface_create_from_png_stream(readPng, &source);
  if (cairo_surface_status(decoded) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(decoded);
    return;
  }
  image = decoded;
  width = cairo_image_surface_get_width(image);
  height = cairo_image_surface_get_height(image);
}

CBitmap::~CBitmap() {
  if (image != nullptr) {
    cairo_surface_destroy(image);
  }
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
  if (image == nullptr || rect.isEmpty()) {
    return;
  }
  cairo_t* cr = context->getCairo();
  cairo_save(cr);
  cairo_rectangle(cr, rect.left, rect.top, rect.width(), rect.height());
  cairo_clip(cr);
  cairo_set_source_surface(cr, image, static_cast<double>(rect.left - offset.h),
                           static_cast<double>(rect.top - offset.v));
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
}
