// A reference-counted image decoded from an embedded PNG resource, with its
// alpha channel or its tRNS key colour as transparency. A missing or broken
// resource gives an empty bitmap (0 x 0) that draws nothing.
#pragma once

#include <cairo.h>

#include "toolkit/c_base_object.h"
#include "toolkit/c_point.h"
#include "toolkit/c_rect.h"
#include "toolkit/c_resource_description.h"

class CDrawContext;

class CBitmap : public CBaseObject {
 public:
  explicit CBitmap(const CResourceDescription& description);
  ~CBitmap() override;

  CCoord getWidth() const { return width; }
  CCoord getHeight() const { return height; }
  bool isLoaded() const { return image != nullptr; }

  // Draws the part of the image that starts at `offset` into `rect`.
  void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0));

 private:
  cairo_surface_t* image = nullptr;
  CCoord width = 0;
  CCoord height = 0;
};
