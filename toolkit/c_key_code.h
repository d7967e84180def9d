// A key as views see it: the character typed, or a virtual key for keys
// without one, and the modifier keys held (the kShift, kControl and kAlt bits
// of CButton). Each platform or plug-in format translates its own key events
// into this.
#pragma once

#include <cstdint>

enum CVirtualKey : unsigned char {
  kVirtualKeyNone = 0,
  kVirtualKeyLeft,
  kVirtualKeyUp,
  kVirtualKeyRight,
  kVirtualKeyDown,
};

// What a view answers to a key.
enum CKeyEventResult : long {
  kKeyEventNotHandled = -1,  // the host may use the key itself
  kKeyEventHandled = 1,
};

struct CKeyCode {
  std::int32_t character = 0;
  CVirtualKey virt = kVirtualKeyNone;
  long modifiers = 0;
};
