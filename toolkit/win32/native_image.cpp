#include "toolkit/native_image.h"

#include <windows.h>
// GDI+ builds on the Windows headers.
#include <gdiplus.h>

#include "toolkit/win32/gdiplus_session.h"

NativeImage* createNativeImage(int width, int height) {
  holdGdiplus();
  // Premultiplied alpha: what GDI+ blends fastest, and what a window copy needs.
  return new Gdiplus::Bitmap(width, height, PixelFormat32bppPARGB);
}

void destroyNativeImage(NativeImage* image) {
  delete image;
  releaseGdiplus();
}
