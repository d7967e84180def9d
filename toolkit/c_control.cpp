#include "toolkit/c_control.h"

#include <cmath>

#include "toolkit/c_bitmap.h"
#include "toolkit/c_control_listener.h"
#include "toolkit/c_frame.h"

CControl::CControl(const CRect& size, CControlListener* listener, long tag, CBitmap* background)
    : CView(size), background(background), listener(listener), tag(tag) {
  if (background != nullptr) {
    background->remember();
  }
}

CControl::~CControl() {
  if (background != nullptr) {
    background->forget();
  }
}

void CControl::setDirty(bool dirty) {
  if (!dirty) {
    drawnValue = value;
  }
  CView::setDirty(dirty);
}

bool CControl::isDirty() const {
  // A NaN counts as drawn once shown, so it does not redraw at every idle.
  const bool sameValue = drawnValue == value || (std::isnan(drawnValue) && std::isnan(value));
  return !sameValue || CView::isDirty();
}

void CControl::beginEdit() {
  if (listener != nullptr) {
    listener->controlBeginEdit(this);
  }
  if (getFrame() != nullptr) {
    getFrame()->beginEdit(tag);
  }
}

void CControl::endEdit() {
  if (getFrame() != nullptr) {
    getFrame()->endEdit(tag);
  }
  if (listener != nullptr) {
    listener->controlEndEdit(this);
  }
}

void CControl::bounceValue() {
  if (value > vmax) {
    value = vmax;
  } else if (value < vmin) {
    value = vmin;
  }
}

bool CControl::checkDefaultValue(long buttons) {
  if (buttons != (kControl | kLButton)) {
    return false;
  }
  beginEdit();
  const float previous = value;
  value = defaultValue;
  const bool changed = value != previous;
  if (changed) {
    notifyValueChanged();
  }
  endEdit();
  if (changed) {
    doIdleStuff();
  }
  return true;
}

void CControl::notifyValueChanged() {
  if (listener != nullptr) {
    listener->valueChanged(this);
  }
}

void CControl::reportSingleEdit() {
  beginEdit();
  notifyValueChanged();
  endEdit();
  doIdleStuff();
}

void CControl::doIdleStuff() {
  if (getFrame() != nullptr) {
    getFrame()->doIdleStuff();
  }
}
