#include "tests/windows/test_host/gdi_objects.h"

#include <windows.h>

#include <cstdint>

unsigned gdiObjectCount() {
  if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); count != 0) {
    return count;
  }
  // Wine answers 0 above. Its GDI handles are indices into one table, which
  // GetObjectType accepts without their upper half: count the live ones.
  unsigned live = 0;
  for (std::uintptr_t index = 1; index < 0x10000; ++index) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
  }
  return live;
}
