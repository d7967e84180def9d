// Drawing onto an image (a cairo surface on Linux, a GDI+ bitmap on Windows):
// bitmaps with their transparency, text in the current font and font colour,
// and filled rectangles.
#pragma once

#include "toolkit/c_color.h"
#include "toolkit/c_font_desc.h"
#include "toolkit/c_rect.h"
#include "toolkit/native_types.h"

enum CHoriTxtAlign { kLeftText = 0, kCenterText };

class CDrawContext {
 public:
  explicit CDrawContext(NativeImage* surface);
  ~CDrawContext();
  CDrawContext(const CDrawContext&) = delete;
  CDrawContext& operator=(const CDrawContext&) = delete;

  void setFontColor(const CColor& color) { fontColor = color; }
  // A size of 0 keeps the font's own size; a style of -1 keeps its style.
  void setFont(CFontRef font, long size = 0, long style = -1) {
    fontName = font->getName();
    fontSize = size != 0 ? size : font->getSize();
    fontStyle = style != -1 ? style : font->getStyle();
  }

  // Draws one line into `rect`, clipped to it, with its baseline at
  // bottom - (height/2 - fontSize/2 + 1) (integer halves). Where no installed
  // face has the font's metrics, a line too wide for `rect` in the face drawn
  // instead is made smaller until it fits rather than cut.
  void drawString(const char* text, const CRect& rect, bool opaque = false,
                  CHoriTxtAlign align = kCenterText);

  // Paints `rect` (within the clip) in `color`, replacing what was there.
  void fillRect(const CRect& rect, const CColor& color);

  // Restricts drawing to `rect`.
  void setClip(const CRect& rect);

#ifdef _WIN32
  Gdiplus::Graphics* getGraphics() const { return graphics; }
#else
  cairo_t* getCairo() const { return cr; }
#endif

 private:
#ifdef _WIN32
  Gdiplus::Graphics* graphics;
#else
  void resetClip();
  double textAdvance(const char* text) const;

  cairo_t* cr;
#endif
  CColor fontColor = kWhiteCColor;
  std::string fontName;
  long fontSize;
  long fontStyle;
};
