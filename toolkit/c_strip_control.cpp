#include "toolkit/c_strip_control.h"

#include "toolkit/c_bitmap.h"

CStripControl::CStripControl(const CRect& size, CControlListener* listener, long tag,
                             long subPixmaps, CCoord heightOfOneImage, CBitmap* background,
                             const CPoint& offset)
    : CControl(size, listener, tag, background),
      subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage),
      offset(offset) {}

void CStripControl::draw(CDrawContext* context) {
  if (background != nullptr) {
    const CPoint source(offset.h, offset.v + subImageIndex() * heightOfOneImage);
    background->draw(context, size, source);
  }
  setDirty(false);
}
