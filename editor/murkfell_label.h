// The information panel on the back face: the maker's logo and five centred
// lines of white text. It keeps no state and takes no mouse events.
#pragma once

#include "editor/editor_images.h"
#include "toolkit/c_view.h"

class MurkfellLabel : public CView {
 public:
  MurkfellLabel(const CRect& size, ImageLookup images) : CView(size), images(images) {}

  void draw(CDrawContext* context) override;

 private:
  ImageLookup images;
};
