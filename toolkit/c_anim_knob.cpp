#include "toolkit/c_anim_knob.h"

#include <cmath>
#include <numbers>

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

// Share of the range per wheel notch or arrow key, plain and with Shift.
constexpr float kStep = 0.1f;
constexpr float kFineStep = 0.01f;

// Arrow keys as wheel notches: +1 up and right, -1 down and left, 0 others.
float notchesOf(const CKeyCode& key) {
  switch (key.virt) {
    case kVirtualKeyUp:
    case kVirtualKeyRight:
      return 1.0f;
    case kVirtualKeyDown:
    case kVirtualKeyLeft:
      return -1.0f;
    default:
      return 0.0f;
  }
}

}  // namespace

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                     CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CStripControl(size, listener, tag, subPixmaps, heightOfOneImage, background, offset) {}

long CAnimKnob::subImageIndex() const {
  if (!(value > 0.0f) || subPixmaps < 1) {
    return 0;  // negative values and NaN show the first image
  }
  if (value >= 1.0f) {
    return subPixmaps - 1;
  }
  return static_cast<long>(std::floor(static_cast<double>(value) * (subPixmaps - 1)));
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
  // The press itself never clamps: the knob goes to where the pointer is.
  angleReference = valueFromAngle(where);
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
    // A jump of more than half the range crosses the dead zone: the knob
    // stops at the end the pointer came from until the pointer returns.
    const float pointed = valueFromAngle(where);
    const float half = (vmax - vmin) / 2.0f;
    if (pointed - angleReference > half) {
      value = vmin;
    } else if (angleReference - pointed > half) {
      value = vmax;
    } else {
      value = pointed;
      angleReference = pointed;
    }
  }
  if (value != previous) {
    notifyValueChanged();
    doIdleStuff();
  }
  return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseUp(CPoint& /*where*/, const long& /*buttons*/) {
  endEdit();
  return kMouseEventHandled;
}

bool CAnimKnob::onWheel(const CPoint& /*where*/, const float& distance, const long& buttons) {
  step(distance, buttons);
  return true;
}

long CAnimKnob::onKeyDown(CKeyCode& key) {
  const float notches = notchesOf(key);
  if (notches == 0.0f) {
    return kKeyEventNotHandled;
  }
  step(notches, key.modifiers);
  return kKeyEventHandled;
}

// The release of a key the knob took is the knob's too, so the host does not
// act on half a key.
long CAnimKnob::onKeyUp(CKeyCode& key) {
  return notchesOf(key) != 0.0f ? kKeyEventHandled : kKeyEventNotHandled;
}

void CAnimKnob::step(float notches, long modifiers) {
  const float previous = value;
  // Steps start from what the knob shows: its value within the range.
  if (std::isnan(value)) {
    value = vmin;
  }
  bounceValue();
  value += notches * ((modifiers & kShift) ? kFineStep : kStep) * (vmax - vmin);
  bounceValue();
  // A NaN before counts as a change: the knob now holds a number.
  if (value != previous) {
    reportSingleEdit();
  }
}
