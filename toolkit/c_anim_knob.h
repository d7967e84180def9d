// A knob drawn from a strip of sub-images, one per step of its value, turned
// by dragging in the process-wide knob mode (circular or linear).
#pragma once

#include "toolkit/c_strip_control.h"

class CAnimKnob : public CStripControl {
 public:
  CAnimKnob(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
            CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));

  CMouseEventResult onMouseDown(CPoint& where, const long& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const long& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const long& buttons) override;
  // Each wheel notch, and each press of an arrow key (up and right turn it
  // up), moves the knob by a tenth of its range; with Shift by a hundredth.
  bool onWheel(const CPoint& where, const float& distance, const long& buttons) override;
  long onKeyDown(CKeyCode& key) override;
  long onKeyUp(CKeyCode& key) override;

  long subImageIndex() const override;

 private:
  float valueFromAngle(const CPoint& where) const;
  float linearRange(long buttons) const;
  void step(float notches, long modifiers);

  // The drag in progress.
  bool dragLinear = false;
  CPoint firstPoint;
  float entryValue = 0.0f;
  long entryButtons = 0;
  // Circular drags: the value at the pointer's angle after the last move
  // that did not clamp, starting at the angle where the press landed.
  float angleReference = 0.0f;
};
