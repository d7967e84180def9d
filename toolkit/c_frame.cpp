#include "toolkit/c_frame.h"

#include <algorithm>
#include <utility>

#include "toolkit/c_draw_context.h"
#include "toolkit/native_image.h"
#include "toolkit/native_window.h"
#include "toolkit/vstgui_editor_interface.h"

CFrame::CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor)
    : CView(size),
      editor(editor),
      image(createNativeImage(static_cast<int>(size.width()), static_cast<int>(size.height()))) {
  if (systemWindow != nullptr) {
    window = std::make_unique<NativeWindow>(systemWindow, static_cast<int>(size.width()),
                                            static_cast<int>(size.height()));
  }
  CView::setDirty(true);
}

CFrame::~CFrame() {
  removeAll(true);
  window.reset();
  destroyNativeImage(image);
}

bool CFrame::addView(CView* view) {
  if (view == nullptr || isChild(view)) {
    return false;
  }
  views.push_back(view);
  view->attached(this);
  view->setDirty(true);  // shown at the next idle
  return true;
}

bool CFrame::removeAll(bool withForget) {
  mouseCapture = nullptr;
  lastTouched = nullptr;
  // Taken out first, so a view that reacts to its removal sees a consistent frame.
  std::vector<CView*> removedViews;
  removedViews.swap(views);
  for (CView* view : removedViews) {
    view->removed(this);
    if (withForget) {
      view->forget();
    }
  }
  return true;
}

CView* CFrame::getView(long index) const {
  if (index < 0 || index >= getNbViews()) {
    return nullptr;
  }
  return views[static_cast<std::size_t>(index)];
}

bool CFrame::isChild(const CView* view) const {
  return std::find(views.begin(), views.end(), view) != views.end();
}

// The front-most view that takes the mouse at that point.
CView* CFrame::viewAt(const CPoint& where) const {
  for (auto it = views.rbegin(); it != views.rend(); ++it) {
    CView* view = *it;
    CRect area;
    if (view->isVisible() && view->getMouseEnabled() &&
        view->getMouseableArea(area).pointInside(where)) {
      return view;
    }
  }
  return nullptr;
}

void CFrame::trackPointer(const CPoint& where) {
  pointer = where;
  pointerInside = size.pointInside(where);
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const long& buttons) {
  trackPointer(where);
  mouseCapture = nullptr;
  CView* view = viewAt(where);
  if (view == nullptr) {
    return kMouseEventNotHandled;
  }
  const CBaseObjectGuard keep(view);
  const CMouseEventResult result = view->onMouseDown(where, buttons);
  if (result != kMouseEventNotHandled && isChild(view)) {
    lastTouched = view;
    if (result == kMouseEventHandled) {
      mouseCapture = view;
    }
  }
  return result;
}

CMouseEventResult CFrame::onMouseMoved(CPoint& where, const long& buttons) {
  trackPointer(where);
  if (mouseCapture == nullptr) {
    return kMouseEventNotHandled;
  }
  const CBaseObjectGuard keep(mouseCapture);
  return mouseCapture->onMouseMoved(where, buttons);
}

CMouseEventResult CFrame::onMouseUp(CPoint& where, const long& buttons) {
  trackPointer(where);
  CView* view = std::exchange(mouseCapture, nullptr);
  if (view == nullptr) {
    return kMouseEventNotHandled;
  }
  const CBaseObjectGuard keep(view);
  return view->onMouseUp(where, buttons);
}

void CFrame::onMouseExited() { pointerInside = false; }

bool CFrame::onWheel(const CPoint& where, const float& distance, const long& buttons) {
  trackPointer(where);
  CView* view = viewAt(where);
  if (view == nullptr) {
    return false;
  }
  const CBaseObjectGuard keep(view);
  const bool used = view->onWheel(where, distance, buttons);
  if (used && isChild(view)) {
    lastTouched = view;
  }
  return used;
}

template <typename Handler>
long CFrame::offerKey(Handler handle) {
  CView* underPointer = pointerInside ? viewAt(pointer) : nullptr;
  CView* candidates[] = {underPointer, lastTouched != underPointer ? lastTouched : nullptr};
  for (CView* view : candidates) {
    // The first handler may have changed the frame's views.
    if (view == nullptr || !isChild(view) || !view->isVisible()) {
      continue;
    }
    const CBaseObjectGuard keep(view);
    const long result = handle(view);
    if (result == kKeyEventHandled) {
      return result;
    }
  }
  return kKeyEventNotHandled;
}

long CFrame::onKeyDown(CKeyCode& key) {
  return offerKey([&key](CView* view) { return view->onKeyDown(key); });
}

long CFrame::onKeyUp(CKeyCode& key) {
  return offerKey([&key](CView* view) { return view->onKeyUp(key); });
}

void CFrame::idle() {
  if (window) {
    window->pump([this](const WindowEvent& event) { handleWindowEvent(event); });
  }
  redrawDirtyViews();
}

void CFrame::handleWindowEvent(const WindowEvent& event) {
  CPoint where = event.where;
  switch (event.kind) {
    case WindowEvent::kExpose:
      window->present(image, event.area);
      break;
    case WindowEvent::kButtonPress:
      onMouseDown(where, event.buttons);
      break;
    case WindowEvent::kMotion:
      onMouseMoved(where, event.buttons);
      break;
    case WindowEvent::kButtonRelease:
      onMouseUp(where, event.buttons);
      break;
    case WindowEvent::kWheel:
      onWheel(where, event.distance, event.buttons);
      break;
    case WindowEvent::kLeave:
      onMouseExited();
      break;
  }
}

void CFrame::redrawDirtyViews() {
  if (CView::isDirty()) {
    drawArea(size);
    CView::setDirty(false);
    return;
  }
  // Each dirty view's area is repainted from the bottom view up, so what
  // shows through its transparent pixels is current too.
  std::vector<CRect> areas;
  for (const CView* view : views) {
    if (view->isVisible() && view->isDirty()) {
      areas.push_back(view->getViewSize());
    }
  }
  for (const CRect& area : areas) {
    drawArea(area);
  }
}

void CFrame::drawArea(const CRect& area) {
  {
    CDrawContext context(image);
    context.setClip(area);
    // Parts no view covers show black, as the window's own background would.
    context.fillRect(area, kBlackCColor);
    for (CView* view : views) {
      if (view->isVisible() && view->getViewSize().rectOverlap(area)) {
        view->draw(&context);
      }
    }
  }
  if (window) {
    window->present(image, area);
  }
}

void CFrame::draw(CDrawContext* context) {
  for (CView* view : views) {
    if (view->isVisible()) {
      view->draw(context);
    }
  }
}

long CFrame::getKnobMode() const {
  return editor != nullptr ? editor->getKnobMode() : kCircularMode;
}

void CFrame::beginEdit(long tag) {
  if (editor != nullptr) {
    editor->beginEdit(tag);
  }
}

void CFrame::endEdit(long tag) {
  if (editor != nullptr) {
    editor->endEdit(tag);
  }
}

void CFrame::doIdleStuff() {
  if (editor != nullptr) {
    editor->doIdleStuff();
  }
}

std::uintptr_t CFrame::getWindowId() const {
  return window && window->isOpen() ? window->getWindow() : 0;
}
