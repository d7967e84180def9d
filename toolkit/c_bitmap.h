// A reference-counted image decoded from PNG bytes, with its alpha channel or
// its tRNS key colour as transparency. No bytes or a broken PNG give an empty
// bitmap (0 x 0) that draws nothing.
#pragma once

#include <span>

#include "toolkit/c_base_object.h"
#include "toolkit/c_point.h"
#include "toolkit/c_rect.h"
#include "toolkit/native_types.h"

class CDrawContext;

class CBitmap : public CBaseObject {
 public:
  explicit CBitmap(std::span<const unsigned char> png);
  ~CBitmap() override;

  CCoord getWidth() const { return width; }
  CCoord getHeight() const { return height; }
  bool isLoaded() const { return image != nullptr; }

  // Draws the part of the image that starts at `offset` into `rect`.
  void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0));

 private:
  NativeImage* image = nullptr;
  CCoord width = 0;
  CCoord height = 0;
};
