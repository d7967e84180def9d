// A display of one sub-image of a strip, chosen by rounding the value.
#pragma once

#include "toolkit/c_strip_control.h"

class CMovieBitmap : public CStripControl {
 public:
  CMovieBitmap(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
               CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));

  long subImageIndex() const override;
};
