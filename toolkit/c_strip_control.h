// A control shown as one sub-image of a strip of equal sub-images stacked
// top to bottom; each kind of control picks the sub-image for its value.
#pragma once

#include "toolkit/c_control.h"

class CStripControl : public CControl {
 public:
  CStripControl(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                CCoord heightOfOneImage, CBitmap* background, const CPoint& offset);

  void draw(CDrawContext* context) override;

  // The sub-image shown for the current value.
  virtual long subImageIndex() const = 0;

 protected:
  long subPixmaps;

 private:
  CCoord heightOfOneImage;
  CPoint offset;
};
