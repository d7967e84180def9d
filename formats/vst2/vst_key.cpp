#include "formats/vst2/vst_key.h"

#include "toolkit/c_view.h"
#include "toolkit/flag_bits.h"

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
  return toolkitBits(modifier, {{MODIFIER_SHIFT, kShift},
                                {MODIFIER_ALTERNATE, kAlt},
                                {MODIFIER_COMMAND | MODIFIER_CONTROL, kControl}});
}

}  // namespace

CKeyCode toolkitKey(const VstKeyCode& key) {
  return CKeyCode{key.character, toolkitVirtualKey(key.virt), toolkitModifiers(key.modifier)};
}
