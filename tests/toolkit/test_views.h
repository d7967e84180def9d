// Plain views for frame tests: one that paints a solid colour and counts its
// draws, one that records the mouse events it gets.
#pragma once

#include <string>
#include <vector>

#include "toolkit/c_draw_context.h"
#include "toolkit/c_view.h"

class SolidView : public CView {
 public:
  SolidView(const CRect& size, CColor colour) : CView(size), colour(colour) {}
  void draw(CDrawContext* context) override {
    cairo_t* cr = context->getCairo();
    cairo_set_source_rgb(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
    cairo_rectangle(cr, size.left, size.top, size.width(), size.height());
    cairo_fill(cr);
    ++draws;
    setDirty(false);
  }
  CColor colour;
  int draws = 0;
};

// Records the mouse, wheel and key events it gets; takes them all, or none
// when its answer is kMouseEventNotHandled.
class MouseView : public CView {
 public:
  MouseView(const CRect& size, std::string name, std::vector<std::string>& log,
            CMouseEventResult answer = kMouseEventHandled)
      : CView(size), name(std::move(name)), log(log), answer(answer) {}
  CMouseEventResult onMouseDown(CPoint&, const long&) override { return record("down"); }
  CMouseEventResult onMouseMoved(CPoint&, const long&) override { return record("moved"); }
  CMouseEventResult onMouseUp(CPoint&, const long&) override { return record("up"); }
  bool onWheel(const CPoint&, const float&, const long&) override {
    return record("wheel") != kMouseEventNotHandled;
  }
  long onKeyDown(CKeyCode&) override {
    return record("key") != kMouseEventNotHandled ? kKeyEventHandled : kKeyEventNotHandled;
  }

 private:
  CMouseEventResult record(const char* what) {
    log.push_back(name + " " + what);
    return answer;
  }
  std::string name;
  std::vector<std::string>& log;
  CMouseEventResult answer;
};
