#include "formats/vst2/vst_key.h"

#include "toolkit/c_view.h"

namespace {

CVirtualKey toolkitVirtualKey(unsigned char virt) {
  switch (virt) {
    case VKEY_LEFT:
      return kVirtualKeyLeft;
    case VKEY_UP:
      return kVirtualKeyUp;
    case VKEY_RIGHT:
      return kVirtualKeyRight;
    case VKEY_DOWN:
      return kVirtualKeyDown;
    default:
      return kVirtualKeyNone;
  }
}

long toolkitModifiers(unsigned char modifier) {
  long bits = 0;
  if (modifier & MODIFIER_SHIFT) bits |= kShift;
  if (modifier & MODIFIER_ALTERNATE) bits |= kAlt;
  if (modifier & (MODIFIER_COMMAND | MODIFIER_CONTROL)) bits |= kControl;
  return bits;
}

}  // namespace

CKeyCode toolkitKey(const VstKeyCode& key) {
  return CKeyCode{key.character, toolkitVirtualKey(key.virt), toolkitModifiers(key.modifier)};
}
