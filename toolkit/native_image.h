// The frame's back buffer: a 32-bit image with alpha that the views are drawn
// into and that is copied to the window.
#pragma once

#include "toolkit/native_types.h"

// Transparent black, or null when it cannot be made.
NativeImage* createNativeImage(int width, int height);
void destroyNativeImage(NativeImage* image);
