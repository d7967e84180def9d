// The frame's child window inside the host's window on this platform. Both
// kinds offer the same operations: open in a parent given as the host passes
// it, hand the pending events to the frame at idle, show a part of the image.
#pragma once

#ifdef _WIN32
#include "toolkit/win32/win32_window.h"
#else
#include "toolkit/x11_window.h"
#endif
