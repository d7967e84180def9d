// Drawing onto a cairo surface: bitmaps with their transparency and text in
// the current font and font colour.
#pragma once

#include <cairo.h>

#include "toolkit/c_color.h"
#include "toolkit/c_font_desc.h"
#include "toolkit/c_rect.h"

enum CHoriTxtAlign { kLeftText = 0, kCenterText };

class CDrawContext {
 public:
  explicit CDrawContext(cairo_surface_t* surface);
  ~CDrawContext();
  CDrawContext(const CDrawContext&) = delete;
  CDrawContext& operator=(const CDrawContext&) = delete;

  void setFontColor(const CColor& color) { fontColor = color; }
  // A size of 0 keeps the font's own size; a style of -1 keeps its style.
  void setFont(CFontRef font, long size = 0, long style = -1);

  // Draws one line into `rect`, clipped to it, with its baseline at
  // bottom - (height/2 - fontSize/2 + 1) (integer halves). Where no installed
  // face has the font's metrics, a line too wide for `rect` in the face drawn
  // instead is made smaller until it fits rather than cut.
  void drawString(const char* text, const CRect& rect, bool opaque = false,
                  CHoriTxtAlign align = kCenterText);

  // Restricts drawing to `rect`.
  void setClip(const CRect& rect);

  cairo_t* getCairo() const { return cr; }

 private:
  void resetClip();
  double textAdvance(const char* text) const;

  cairo_t* cr;
  CColor fontColor = kWhiteCColor;
  std::string fontName;
  long fontSize;
  long fontStyle;
};
