#include "toolkit/c_on_off_button.h"

#include "toolkit/c_bitmap.h"

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, long tag,
                           CBitmap* background)
    : CControl(size, listener, tag, background) {}

void COnOffButton::draw(CDrawContext* context) {
  if (background != nullptr) {
    const CCoord top = value == 0.0f ? 0 : size.height();
    background->draw(context, size, CPoint(0, top));
  }
  setDirty(false);
}

CMouseEventResult COnOffButton::onMouseDown(CPoint& /*where*/, const long& buttons) {
  if (!(buttons & kLButton)) {
    return kMouseEventNotHandled;
  }
  value = value != 0.0f ? vmin : vmax;
  reportSingleEdit();
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
