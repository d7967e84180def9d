// Native flag bits (a window system's modifier and button state, a plug-in
// interface's modifier keys) turned into the toolkit's CButton bits by a table.
#pragma once

#include <initializer_list>

struct FlagBit {
  unsigned long native;  // any of these bits set...
  long toolkit;          // ...sets these
};

constexpr long toolkitBits(unsigned long state, std::initializer_list<FlagBit> table) {
  long bits = 0;
  for (const FlagBit& flag : table) {
    if (state & flag.native) {
      bits |= flag.toolkit;
    }
  }
  return bits;
}
