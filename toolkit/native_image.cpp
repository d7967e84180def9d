#include "toolkit/native_image.h"

NativeImage* createNativeImage(int width, int height) {
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
}

void destroyNativeImage(NativeImage* image) { cairo_surface_destroy(image); }
