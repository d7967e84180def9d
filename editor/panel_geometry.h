// Where controls sit on the panel: each is as large as its image (a switch
// shows one of two stacked halves) and centred on its spot of the artwork,
// with the half sizes rounded toward zero.
#pragma once

#include "toolkit/c_rect.h"

inline CRect knobRect(const CPoint& centre, CCoord imageWidth) {
  const CCoord left = centre.h - imageWidth / 2;
  const CCoord top = centre.v - imageWidth / 2;
  return CRect(left, top, left + imageWidth, top + imageWidth);
}

inline CRect switchRect(const CPoint& centre, CCoord imageWidth, CCoord imageHeight) {
  const CCoord left = centre.h - imageWidth / 2;
  const CCoord top = centre.v - imageHeight / 4;
  return CRect(left, top, left + imageWidth, top + imageHeight / 2);
}
