// The platform's own types behind the toolkit: cairo and Xlib on Linux, GDI+
// and Win32 on Windows. Everything above the toolkit sees only the C classes.
#pragma once

#ifdef _WIN32
namespace Gdiplus {
class Bitmap;
class Graphics;
}  // namespace Gdiplus
using NativeImage = Gdiplus::Bitmap;
class Win32Window;
using NativeWindow = Win32Window;
#else
#include <cairo.h>
using NativeImage = cairo_surface_t;
class X11Window;
using NativeWindow = X11Window;
#endif
