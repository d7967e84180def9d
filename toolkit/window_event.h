// What a window reports to its frame, in window pixels.
#pragma once

#include "toolkit/c_rect.h"

struct WindowEvent {
  enum Kind { kExpose, kButtonPress, kButtonRelease, kMotion, kWheel, kLeave };
  Kind kind;
  CRect area;             // kExpose: the part to repaint
  CPoint where;           // mouse events: the pointer in window pixels
  long buttons;           // mouse events: CButton bits
  float distance = 0.0f;  // kWheel: notches, positive away from the user
};
