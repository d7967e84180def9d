#include "toolkit/c_movie_bitmap.h"

#include <cmath>

#include "toolkit/c_bitmap.h"

CMovieBitmap::CMovieBitmap(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                           CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background),
      subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage),
      offset(offset) {}

long CMovieBitmap::subImageIndex() const {
  if (!(value > 0.0f) || subPixmaps < 1) {
    return 0;  // values at or below 0 and NaN show the first image
  }
  const double shown = value > 1.0f ? 1.0 : static_cast<double>(value);
  return std::lround(shown * (subPixmaps - 1));
}

void CMovieBitmap::draw(CDrawContext* context) {
  if (background != nullptr) {
    const CPoint source(offset.h, offset.v + subImageIndex() * heightOfOneImage);
    background->draw(context, size, source);
  }
  setDirty(false);
}
