// A knob drawn from a strip of sub-images, one per step of its value, turned
// by dragging in the process-wide knob mode (circular or linear).
#pragma once

#include "toolkit/c_control.h"

class CAnimKnob : public CControl {
 public:
  CAnimKnob(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
            CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const long& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const long& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const long& buttons) override;

  // The sub-image shown for the current value.
  long subImageIndex() const;

 private:
  float valueFromAngle(const CPoint& where) const;
  float linearRange(long buttons) const;

  long subPixmaps;
  CCoord heightOfOneImage;
  CPoint offset;

  // The drag in progress.
  bool dragLinear = false;
  CPoint firstPoint;
  float entryValue = 0.0f;
  long entryButtons = 0;
};
