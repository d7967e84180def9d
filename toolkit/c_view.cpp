#include "toolkit/c_view.h"

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

void CView::draw(CDrawContext* /*context*/) { setDirty(false); }

CMouseEventResult CView::onMouseDown(CPoint& /*where*/, const long& /*buttons*/) {
  return kMouseEventNotHandled;
}

CMouseEventResult CView::onMouseUp(CPoint& /*where*/, const long& /*buttons*/) {
  return kMouseEventNotHandled;
}

CMouseEventResult CView::onMouseMoved(CPoint& /*where*/, const long& /*buttons*/) {
  return kMouseEventNotHandled;
}

bool CView::onWheel(const CPoint& /*where*/, const float& /*distance*/, const long& /*buttons*/) {
  return false;
}

long CView::onKeyDown(CKeyCode& /*key*/) { return kKeyEventNotHandled; }

long CView::onKeyUp(CKeyCode& /*key*/) { return kKeyEventNotHandled; }

CRect& CView::getMouseableArea(CRect& area) const {
  area = mouseableArea;
  return area;
}

void CView::attached(CFrame* frame) { parentFrame = frame; }

void CView::removed(CFrame* /*frame*/) { parentFrame = nullptr; }
