// The information panel on the back face: the maker's logo and five centred
// lines of white text. It keeps no state and takes no mouse events.
#pragma once

#include "toolkit/c_view.h"

class MurkfellLabel : public CView {
 public:
  explicit MurkfellLabel(const CRect& size) : CView(size) {}

  void draw(CDrawContext* context) override;
};
