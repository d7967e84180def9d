// A display of one sub-image of a strip, chosen by rounding the value.
#pragma once

#include "toolkit/c_control.h"

class CMovieBitmap : public CControl {
 public:
  CMovieBitmap(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
               CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));

  void draw(CDrawContext* context) override;

  // The sub-image shown for the current value.
  long subImageIndex() const;

 private:
  long subPixmaps;
  CCoord heightOfOneImage;
  CPoint offset;
};
