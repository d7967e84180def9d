#include "toolkit/c_movie_bitmap.h"

#include <cmath>

CMovieBitmap::CMovieBitmap(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                           CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CStripControl(size, listener, tag, subPixmaps, heightOfOneImage, background, offset) {}

long CMovieBitmap::subImageIndex() const {
  if (!(value > 0.0f) || subPixmaps < 1) {
    return 0;  // values at or below 0 and NaN show the first image
  }
  const double shown = value > 1.0f ? 1.0 : static_cast<double>(value);
  return std::lround(shown * (subPixmaps - 1));
}
