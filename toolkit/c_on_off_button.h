// A two-state button: the upper half of its bitmap at value 0, the lower half
// at any other value; a left click toggles it as one complete edit.
#pragma once

#include "toolkit/c_control.h"

class COnOffButton : public CControl {
 public:
  COnOffButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background);

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const long& buttons) override;
};
