#include "toolkit/c_draw_context.h"

#include "toolkit/font_metrics.h"

namespace {

double channel(unsigned char value) { return value / 255.0; }

}  // namespace

CDrawContext::CDrawContext(NativeImage* surface)
    : cr(cairo_create(surface)),
      fontName(kSystemFont->getName()),
      fontSize(kSystemFont->getSize()),
      fontStyle(kSystemFont->getStyle()) {
  cairo_save(cr);  // the unclipped state resetClip() returns to
}

CDrawContext::~CDrawContext() {
  // Whoever reads the surface's pixels next sees everything drawn here.
  cairo_surface_flush(cairo_get_target(cr));
  cairo_destroy(cr);
}

void CDrawContext::drawString(const char* text, const CRect& rect, bool /*opaque*/,
                              CHoriTxtAlign align) {
  cairo_save(cr);
  cairo_rectangle(cr, rect.left, rect.top, rect.width(), rect.height());
  cairo_clip(cr);

  // The family is resolved through fontconfig ("Arial" maps to a
  // metric-compatible face where Arial itself is not installed).
  cairo_select_font_face(
      cr, fontName.c_str(),
      (fontStyle & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
      (fontStyle & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, static_cast<double>(fontSize));
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);

  const double width = static_cast<double>(rect.width());
  double advance = textAdvance(text);
  // Without a face of the font's own metrics (Arial with fonts-liberation2
  // missing) fontconfig's nearest face is used, which may set lines wider: a
  // line too wide for its rectangle in that face is drawn just small enough to
  // keep two pixels free at either side (outlines reach the ends of the advance
  // and antialiasing one pixel beyond). In the font's own metrics a line too
  // wide is cut at the rectangle.
  constexpr double kSpare = 4.0;
  if (advance > width && width > kSpare &&
      !drawsWithOwnMetrics(fontName, fontStyle & kBoldFace, fontStyle & kItalicFace)) {
    cairo_set_font_size(cr, static_cast<double>(fontSize) * (width - kSpare) / advance);
    advance = textAdvance(text);
  }
  double x = static_cast<double>(rect.left);
  if (align == kCenterText) {
    x += (width - advance) / 2.0;
  }
  const CCoord baseline = rect.bottom - (rect.height() / 2 - fontSize / 2 + 1);

  cairo_set_source_rgba(cr, channel(fontColor.red), channel(fontColor.green),
                        channel(fontColor.blue), channel(fontColor.alpha));
  cairo_move_to(cr, x, static_cast<double>(baseline));
  cairo_show_text(cr, text);
  cairo_restore(cr);
}

double CDrawContext::textAdvance(const char* text) const {
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  return extents.x_advance;
}

void CDrawContext::fillRect(const CRect& rect, const CColor& color) {
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr, channel(color.red), channel(color.green), channel(color.blue),
                        channel(color.alpha));
  cairo_rectangle(cr, rect.left, rect.top, rect.width(), rect.height());
  cairo_fill(cr);
  cairo_restore(cr);
}

void CDrawContext::setClip(const CRect& rect) {
  resetClip();
  cairo_rectangle(cr, rect.left, rect.top, rect.width(), rect.height());
  cairo_clip(cr);
}

void CDrawContext::resetClip() {
  cairo_restore(cr);
  cairo_save(cr);
}
