#include "toolkit/c_anim_knob.h"

#include <cmath>
#include <numbers>

#include "toolkit/c_bitmap.h"
#include "toolkit/c_frame.h"
#include "toolkit/vstgui_editor_interface.h"

namespace {

// The sweep starts at the lower left (225 degrees, counter-clockwise from the
// right) and turns clockwise through 270 degrees to the lower right.
constexpr double kStartAngle = 1.25 * std::numbers::pi;
constexpr double kSweep = 1.5 * std::numbers::pi;
constexpr double kFullTurn = 2.0 * std::numbers::pi;

// Pixels of drag (up plus right) for the whole range in linear mode; Shift
// makes the drag 1.5 times finer.
constexpr float kLinearRange = 200.0f;
constexpr float kFineFactor = 1.5f;

}  // namespace

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                     CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background),
      subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage),
      offset(offset) {}

long CAnimKnob::subImageIndex() const {
  if (!(value > 0.0f) || subPixmaps < 1) {
    return 0;  // negative values and NaN show the first image
  }
  if (value >= 1.0f) {
    return subPixmaps - 1;
  }
  return static_cast<long>(std::floor(static_cast<double>(value) * (subPixmaps - 1)));
}

void CAnimKnob::draw(CDrawContext* context) {
  if (background != nullptr) {
    const CPoint source(offset.h, offset.v + subImageIndex() * heightOfOneImage);
    background->draw(context, size, source);
  }
  setDirty(false);
}

float CAnimKnob::valueFromAngle(const CPoint& where) const {
  const double dx = static_cast<double>(where.h - size.left) - size.width() / 2.0;
  const double dy = size.height() / 2.0 - static_cast<double>(where.v - size.top);
  // Clockwise distance from the start of the sweep, in [0, 2 pi).
  double turned = std::fmod(kStartAngle - std::atan2(dy, dx), kFullTurn);
  if (turned < 0.0) {
    turned += kFullTurn;
  }
  if (turned <= kSweep) {
    return vmin + static_cast<float>(turned / kSweep) * (vmax - vmin);
  }
  // The dead zone at the bottom belongs to the nearer end of the sweep.
  return turned < kSweep + (kFullTurn - kSweep) / 2.0 ? vmax : vmin;
}

float CAnimKnob::linearRange(long buttons) const {
  return (buttons & kShift) ? kLinearRange * kFineFactor : kLinearRange;
}

CMouseEventResult CAnimKnob::onMouseDown(CPoint& where, const long& buttons) {
  if (!(buttons & kLButton)) {
    return kMouseEventNotHandled;
  }
  if (checkDefaultValue(buttons)) {
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  }
  beginEdit();
  const bool linearMode = getFrame() != nullptr && getFrame()->getKnobMode() == kLinearMode;
  // Alt turns the drag into the other kind.
  dragLinear = linearMode != ((buttons & kAlt) != 0);
  firstPoint = where;
  entryValue = value;
  entryButtons = buttons;
  onMouseMoved(where, buttons);
  return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseMoved(CPoint& where, const long& buttons) {
  if (!(buttons & kLButton)) {
    return kMouseEventNotHandled;
  }
  const float previous = value;
  if (dragLinear) {
    if (buttons != entryButtons) {
      // A change of Shift mid-drag changes the scale from here on, without a jump.
      firstPoint = where;
      entryValue = value;
      entryButtons = buttons;
    }
    const float pixels = static_cast<float>((firstPoint.v - where.v) + (where.h - firstPoint.h));
    value = entryValue + pixels * (vmax - vmin) / linearRange(buttons);
    bounceValue();
  } else {
    value = valueFromAngle(where);
    // A jump across the dead zone stops at the end the pointer came from.
    const float half = (vmax - vmin) / 2.0f;
    if (value - previous > half) {
      value = vmin;
    } else if (previous - value > half) {
      value = vmax;
    }
  }
  if (value != previous) {
    notifyValueChanged();
  }
  return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseUp(CPoint& /*where*/, const long& /*buttons*/) {
  endEdit();
  return kMouseEventHandled;
}
